// The steps of the entry sequence that hand the run to another subsystem:
// the elevated copy and the silent installation run the engine; crash
// capture, the default-browser probe and the installer window are not part
// of this build yet, and each of those says in the log what it did not do.
#ifndef INSTALLER_ENTRY_STEPS_H_
#define INSTALLER_ENTRY_STEPS_H_

#include <cstdint>
#include <string>

#include "base/file_path.h"

namespace lite {

void InstallCrashHandler();
void RemoveCrashHandler();
void SetCrashKey(const std::string& name, const std::string& value);
// Ends the process at once, as a crash would be ended, with |code|.
[[noreturn]] void TerminateThroughCrashHandler(uint32_t code);

// "check-the-interface": whether the default-browser interface is available.
bool ProbeDefaultBrowserInterface();

// "run-as-admin": the elevated copy's whole run; 0 or -1.
int RunElevatedCopy();

struct DistributionConfiguration;

// The silent installation on this thread; the engine's result code.
int RunSilentInstallation(const DistributionConfiguration& config);
// The installer window, run modally; |engine_result| is set when the window
// ended normally. Returns the window's result (1 when it ended normally).
int RunInstallerWindow(const DistributionConfiguration& config, int* engine_result);
void ShowNotEnoughDiskSpaceDialog(uint32_t language_id);

}  // namespace lite

#endif  // INSTALLER_ENTRY_STEPS_H_
