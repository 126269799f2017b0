#include "ui/dialogs/disk_space_dialog_win.h"

#include "ui/dialogs/classic_dialog_win.h"

namespace lite {

void ShowNotEnoughDiskSpaceDialog(uint16_t language_id, double scale_factor) {
  DialogContext context;
  context.language_id = language_id;
  context.scale_factor = scale_factor;
  context.windows = CurrentWindowsRelease();
  ClassicDialog dialog(context, ClassicDialogVariant::kNotEnoughDiskSpace);
  dialog.RunModal(nullptr);
}

}  // namespace lite
