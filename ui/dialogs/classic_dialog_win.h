// The classic dialog: a fixed picture with its own shadow, the title and
// message in Arial, and picture buttons along the bottom.
#ifndef UI_DIALOGS_CLASSIC_DIALOG_WIN_H_
#define UI_DIALOGS_CLASSIC_DIALOG_WIN_H_

#include "ui/dialogs/classic_dialog_layout.h"
#include "ui/dialogs/installer_dialog_win.h"
#include "ui/images/resource_bitmap_win.h"

namespace lite {

class ClassicDialog : public InstallerDialog {
 public:
  ClassicDialog(const DialogContext& context, ClassicDialogVariant variant);
  ~ClassicDialog() override;

  ClassicDialogVariant variant() const { return variant_; }

 protected:
  void OnInitDialog() override;
  void PaintBackground(HDC dc, const RECT& client) override;
  COLORREF StaticTextColour(int control_id) const override;
  void MoveShadow() override;

 private:
  const ClassicDialogVariant variant_;
  const ClassicDialogSpec& spec_;
  ScopedFont title_font_;
  ScopedFont message_font_;
  ScopedFont button_font_;
  // The picture with its shadow, and its panel at the window's size.
  ResourceBitmap background_;
  ResourceBitmap panel_;
  ClassicDialogLayout layout_;
};

}  // namespace lite

#endif  // UI_DIALOGS_CLASSIC_DIALOG_WIN_H_
