#include "installer/entry_steps.h"

#include <windows.h>

#include "installer/distribution_configuration_win.h"
#include "installer/elevated_copy_win.h"
#include "installer/exit_code.h"
#include "installer/installer_win.h"
#include "installer/process_command_line.h"
#include "installer/switches.h"
#include "logging/log_message.h"
#include "logging/system_error_win.h"

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
  return ExecuteAsAdmin(ProcessCommandLine(),
                        [](InstallerDelegate& delegate, const std::u16string& archive,
                           const InstallerCommandLine& setup_command_line, int32_t* result_code) {
                          Installer engine(&delegate, nullptr, nullptr, false);
                          // The path came through memory any process of
                          // this file can write: the copy runs with rights,
                          // so it runs only what it has verified itself. The
                          // first installer keeps the file from changing.
                          if (!engine.VerifyDownloadedModule(FilePath(archive))) {
                            PLOG_FROM(ERROR, "ExecuteAsAdmin")
                                << "Module verification failed: " << archive;
                            return false;
                          }
                          const bool ok = engine.RunModule(archive, setup_command_line);
                          *result_code = engine.result_code();
                          return ok;
                        });
}

int RunSilentInstallation(const DistributionConfiguration& config) {
  const InstallerCommandLine& command_line = ProcessCommandLine();
  Installer engine(nullptr, &config.brand, &config.params, true);
  engine.SetMakeBrowserDefault(command_line.HasSwitch(switches::kMakeBrowserDefaultAfterImport));
  engine.set_send_statistics(command_line.HasSwitch(switches::kSendStatistics) ||
                             config.brand.ShouldSendStatistics());
  engine.set_install_pin(!command_line.HasSwitch(switches::kDisableTlPin));
  engine.InstallSync();
  return engine.result_code();
}

int RunInstallerWindow(const DistributionConfiguration& config, int* engine_result) {
  LOG(WARNING) << "The installer window is not part of this build.";
  return 0;
}

void ShowNotEnoughDiskSpaceDialog(uint32_t language_id) {}

}  // namespace lite
