#include "default_browser/interface_probe_win.h"

#include "logging/log_message.h"

namespace lite {

bool ProbeDefaultBrowserInterface() {
  LOG(WARNING) << "The default-browser interface probe is not part of this build.";
  return false;
}

}  // namespace lite
