// The dialog that tells the user there is not enough disk space to install.
#ifndef UI_DIALOGS_DISK_SPACE_DIALOG_WIN_H_
#define UI_DIALOGS_DISK_SPACE_DIALOG_WIN_H_

#include <cstdint>

namespace lite {

// Shows the classic not-enough-disk-space dialog of this program's
// resources in |language_id| and returns when the user closed it.
void ShowNotEnoughDiskSpaceDialog(uint16_t language_id, double scale_factor);

}  // namespace lite

#endif  // UI_DIALOGS_DISK_SPACE_DIALOG_WIN_H_
