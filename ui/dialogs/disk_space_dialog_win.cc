#include "ui/dialogs/disk_space_dialog_win.h"

#include "logging/log_message.h"

namespace lite {

void ShowNotEnoughDiskSpaceDialog(uint32_t language_id) {
  LOG(WARNING) << "The not-enough-disk-space dialog is not part of this build.";
}

}  // namespace lite
