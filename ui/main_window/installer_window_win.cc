#include "ui/main_window/installer_window_win.h"

#include "logging/log_message.h"

namespace lite {

int RunInstallerWindow(const DistributionConfiguration& config, int* engine_result) {
  LOG(WARNING) << "The installer window is not part of this build.";
  return 0;
}

}  // namespace lite
