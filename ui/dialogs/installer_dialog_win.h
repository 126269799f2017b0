// What the redesigned and the classic dialogs share: the template with its
// title, message and buttons, the results of the buttons and the first
// button's action, transparent texts over a picture, and a shadow that
// follows the dialog when it is dragged.
#ifndef UI_DIALOGS_INSTALLER_DIALOG_WIN_H_
#define UI_DIALOGS_INSTALLER_DIALOG_WIN_H_

#include <windows.h>

#include <memory>
#include <string>

#include "ui/controls/picture_button_win.h"
#include "ui/dialog_window_win.h"
#include "ui/dialogs/dialog_context_win.h"
#include "ui/dialogs/dialog_kind.h"
#include "ui/layout/scoped_gdi_object_win.h"

namespace lite {

class InstallerDialog : public DialogWindow {
 public:
  InstallerDialog(const DialogContext& context, DialogAction action);
  ~InstallerDialog() override;

  // The texts as loaded for the last run (the message with its decoration).
  const std::wstring& title_text() const { return title_text_; }
  const std::wstring& message_text() const { return message_text_; }

 protected:
  bool ProcessWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                            LRESULT* result) override;

  // Loads texts, pictures and fonts, sizes and places everything.
  virtual void OnInitDialog() = 0;
  virtual void PaintBackground(HDC dc, const RECT& client) = 0;
  virtual COLORREF StaticTextColour(int control_id) const = 0;
  virtual void MoveShadow() = 0;

  const DialogContext& context() const { return context_; }
  std::wstring LoadText(int id) const;
  // The message static (the template's static without an id).
  HWND MessageControl() const;
  void SetText(HWND control, const std::wstring& text, HFONT font);

  std::wstring title_text_;
  std::wstring message_text_;
  std::unique_ptr<PictureButton> button1_;
  std::unique_ptr<PictureButton> button2_;
  std::unique_ptr<PictureButton> close_button_;
  HWND shadow_ = nullptr;  // owned by the dialog window, destroyed with it

 private:
  void RunAction();
  void End(int result);
  LRESULT OnCustomDraw(const NMHDR& header);

  const DialogContext context_;
  const DialogAction action_;
};

}  // namespace lite

#endif  // UI_DIALOGS_INSTALLER_DIALOG_WIN_H_
