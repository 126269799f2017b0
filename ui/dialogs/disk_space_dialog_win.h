// The dialog that tells the user there is not enough disk space to install.
#ifndef UI_DIALOGS_DISK_SPACE_DIALOG_WIN_H_
#define UI_DIALOGS_DISK_SPACE_DIALOG_WIN_H_

#include <cstdint>

namespace lite {

// Shows the dialog in |language_id| and returns when the user closed it.
// This build has no such dialog: it logs so and returns at once.
void ShowNotEnoughDiskSpaceDialog(uint32_t language_id);

}  // namespace lite

#endif  // UI_DIALOGS_DISK_SPACE_DIALOG_WIN_H_
