#include "installer/entry_steps.h"

#include <windows.h>

#include "installer/exit_code.h"
#include "logging/log_message.h"

namespace lite {

void InstallCrashHandler() {}
void RemoveCrashHandler() {}
void SetCrashKey(const std::string& name, const std::string& value) {}

void TerminateThroughCrashHandler(uint32_t code) {
  TerminateProcess(GetCurrentProcess(), code);
  ExitProcess(code);  // not reached: TerminateProcess does not return for itself
}

bool ProbeDefaultBrowserInterface() {
  LOG(WARNING) << "The default-browser interface probe is not part of this build.";
  return false;
}

int RunElevatedCopy() {
  LOG(ERROR) << "The elevated copy is not part of this build; nothing was installed.";
  return kExitElevatedCopyFailed;
}

int RunSilentInstallation(const DistributionConfiguration& config) {
  LOG(WARNING) << "The installation engine is not part of this build; "
                  "no setup program was downloaded or run.";
  return kExitNoSetupExitCode;
}

int RunInstallerWindow(const DistributionConfiguration& config, int* engine_result) {
  LOG(WARNING) << "The installer window is not part of this build.";
  return 0;
}

void ShowNotEnoughDiskSpaceDialog(uint32_t language_id) {}

}  // namespace lite
