// The redesigned dialog: rounded, sized to its texts, with stretched
// buttons, a Close button and a soft shadow.
#ifndef UI_DIALOGS_REDESIGNED_DIALOG_WIN_H_
#define UI_DIALOGS_REDESIGNED_DIALOG_WIN_H_

#include <memory>

#include "ui/dialogs/installer_dialog_win.h"
#include "ui/dialogs/redesigned_dialog_layout.h"
#include "ui/images/resource_bitmap_win.h"
#include "ui/layout/font_resources_win.h"

namespace lite {

class RedesignedDialog : public InstallerDialog {
 public:
  RedesignedDialog(const DialogContext& context, DialogKind kind);
  ~RedesignedDialog() override;

  DialogKind kind() const { return kind_; }

 protected:
  void OnInitDialog() override;
  void PaintBackground(HDC dc, const RECT& client) override;
  COLORREF StaticTextColour(int control_id) const override;
  void MoveShadow() override;

 private:
  Extent MeasureText(const std::wstring& text, HFONT font) const;

  const DialogKind kind_;
  const RedesignedDialogSpec& spec_;
  std::unique_ptr<FontResources> fonts_;
  ScopedFont title_font_;
  ScopedFont message_font_;
  ScopedFont button_font_;
  ResourceBitmap background_;
  RedesignedDialogLayout layout_;
};

}  // namespace lite

#endif  // UI_DIALOGS_REDESIGNED_DIALOG_WIN_H_
