// Crash capture of the installer process. This build has no crash handler:
// these calls say in the log what they do not do, and ending the process
// "through the handler" ends it directly.
#ifndef CRASH_CRASH_HANDLER_WIN_H_
#define CRASH_CRASH_HANDLER_WIN_H_

#include <cstdint>
#include <string>

namespace lite {

void InstallCrashHandler();
void RemoveCrashHandler();
// An annotation that a crash report would carry.
void SetCrashKey(const std::string& name, const std::string& value);
// Ends the process at once, as a crash would be ended, with |code|.
[[noreturn]] void TerminateThroughCrashHandler(uint32_t code);

}  // namespace lite

#endif  // CRASH_CRASH_HANDLER_WIN_H_
