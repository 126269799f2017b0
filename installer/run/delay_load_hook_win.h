// The one hook of every delay-loaded system DLL. A DLL or function that
// cannot be bound ends the process: the installer cannot go on without it.
// Unless the run is silent, the user is told which one first.
#ifndef INSTALLER_RUN_DELAY_LOAD_HOOK_WIN_H_
#define INSTALLER_RUN_DELAY_LOAD_HOOK_WIN_H_

#include <string>

namespace lite {

// "Windows dll is not found: X" or "Function F not found in Windows dll X";
// |function| is empty for a failed library load.
std::string DelayLoadFailureText(const std::string& dll, const std::string& function);

// The crash key that carries the failure's text to the crash report.
inline constexpr char kDelayLoadFailureKey[] = "delay_load_failure";

// The first 127 characters of the last failure's text, for the crash
// report; empty while nothing failed.
const char* LastDelayLoadFailure();

}  // namespace lite

#endif  // INSTALLER_RUN_DELAY_LOAD_HOOK_WIN_H_
