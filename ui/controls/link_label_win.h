// A link: an owner-drawn button whose text is blended onto the parent's
// background, with the hand cursor over it.
#ifndef UI_CONTROLS_LINK_LABEL_WIN_H_
#define UI_CONTROLS_LINK_LABEL_WIN_H_

#include <windows.h>

#include <memory>

#include "ui/controls/accessible_proxy_win.h"
#include "ui/controls/background_copy_win.h"
#include "ui/dialog_window_win.h"

namespace lite {

class LinkLabel : public DialogWindow {
 public:
  // Subclasses |window| (a BS_OWNERDRAW button); its accessible role is a
  // link and its name the window text.
  LinkLabel(HWND window, COLORREF colour, BYTE alpha, HFONT font, BackgroundCopy background);
  ~LinkLabel() override;

  // WM_DRAWITEM for the link, forwarded by its owner.
  void OnDrawItem(const DRAWITEMSTRUCT& draw);
  // The room kept around the text (an inline link's margins).
  void set_text_inset(POINT inset) { text_inset_ = inset; }
  void set_background(BackgroundCopy background) { background_ = std::move(background); }
  AccessibleProxy& accessible() { return *accessible_; }

 protected:
  bool ProcessWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                            LRESULT* result) override;

 private:
  COLORREF colour_;
  BYTE alpha_;
  HFONT font_;
  BackgroundCopy background_;
  POINT text_inset_ = {0, 0};
  std::unique_ptr<AccessibleProxy, AccessibleProxyDeleter> accessible_;
};

}  // namespace lite

#endif  // UI_CONTROLS_LINK_LABEL_WIN_H_
