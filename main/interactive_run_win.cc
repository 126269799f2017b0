#include "main/interactive_run_win.h"

#include "installer/engine/installer_win.h"
#include "installer/run/distribution_configuration_win.h"
#include "ui/layout/window_design.h"
#include "ui/main_window/lite_main_window_win.h"

namespace lite {

int RunInstallerWindow(const InstallerCommandLine& command_line,
                       const DistributionConfiguration& config, double scale_factor,
                       int* engine_result) {
  MainWindowInputs inputs{config.brand, config.params, command_line};
  inputs.scale_factor = scale_factor;
  inputs.windows = CurrentWindowsRelease();
  inputs.with_engine = true;
  LiteMainWindow window(inputs);
  const INT_PTR result = window.RunModal(nullptr);
  if (result == kWindowEndedNormally) {
    // A newer-version notice ends the window while setup still runs: the
    // engine's result is setup's exit code only once its worker has ended.
    // Stopping it here is what the window's end does a moment later anyway.
    Installer* engine = window.engine();
    engine->WaitForInstallAsync();
    *engine_result = engine->result_code();
  }
  return static_cast<int>(result);
}

}  // namespace lite
