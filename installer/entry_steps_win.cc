#include "installer/entry_steps.h"

#include "installer/exit_code.h"
#include "logging/log_message.h"

namespace lite {

void InstallCrashHandler() {}
void RemoveCrashHandler() {}
void SetCrashKey(const std::string& name, const std::string& value) {}

bool ProbeDefaultBrowserInterface() {
  LOG(WARNING) << "The default-browser interface probe is not part of this build.";
  return false;
}

int RunElevatedCopy() {
  LOG(ERROR) << "The elevated copy is not part of this build; nothing was installed.";
  return kExitElevatedCopyFailed;
}

void LoadDistributionConfiguration(const FilePath& temp_dir, const std::string& brand_name) {
  LOG(WARNING) << "Distribution configuration is not part of this build; "
                  "no brand or installer tag was read.";
}

uint16_t BrandLanguageId() { return 1033; }

int RunSilentInstallation() {
  LOG(WARNING) << "The installation engine is not part of this build; "
                  "no setup program was downloaded or run.";
  return kExitNoSetupExitCode;
}

int RunInstallerWindow(int* engine_result) {
  LOG(WARNING) << "The installer window is not part of this build.";
  return 0;
}

void ShowNotEnoughDiskSpaceDialog(uint16_t language_id) {}

}  // namespace lite
