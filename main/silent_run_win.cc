#include "main/silent_run_win.h"

#include "crash/crash_handler_win.h"
#include "installer/command_line/installer_command_line.h"
#include "installer/command_line/switches.h"
#include "installer/engine/installer_win.h"
#include "installer/run/distribution_configuration_win.h"

namespace lite {

int RunSilentInstallation(const InstallerCommandLine& command_line,
                          const DistributionConfiguration& config, double scale_factor) {
  Installer engine(command_line, nullptr, &config.brand, &config.params, true);
  engine.set_device_scale_factor(scale_factor);
  engine.SetMakeBrowserDefault(command_line.HasSwitch(switches::kMakeBrowserDefaultAfterImport));
  engine.set_send_statistics(command_line.HasSwitch(switches::kSendStatistics) ||
                             config.brand.ShouldSendStatistics());
  SetCrashUploadAllowed(engine.send_statistics());
  engine.set_install_pin(!command_line.HasSwitch(switches::kDisableTlPin));
  engine.InstallSync();
  return engine.result_code();
}

}  // namespace lite
