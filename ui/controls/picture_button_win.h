// A push button drawn from a strip of three pictures (normal, hot, pressed)
// with its text on top, over the parent's background.
#ifndef UI_CONTROLS_PICTURE_BUTTON_WIN_H_
#define UI_CONTROLS_PICTURE_BUTTON_WIN_H_

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "ui/controls/accessible_proxy_win.h"
#include "ui/controls/background_copy_win.h"
#include "ui/images/resource_bitmap_win.h"

namespace lite {

struct Padding {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class PictureButton {
 public:
  PictureButton(HWND window, ResourceBitmap strip, COLORREF text_colour, HFONT font,
                BackgroundCopy background, Padding padding);
  PictureButton(const PictureButton&) = delete;
  PictureButton& operator=(const PictureButton&) = delete;
  virtual ~PictureButton();

  HWND hwnd() const { return window_; }
  // One frame of the strip in screen pixels.
  SIZE GetSize() const;
  // Answers NM_CUSTOMDRAW for this button: draws it whole before the erase
  // stage and tells the system to draw nothing.
  LRESULT OnCustomDraw(const NMCUSTOMDRAW& draw, int focus_inset);

  void set_pressed_text_offset(POINT offset) { pressed_text_offset_ = offset; }
  void set_keyboard_cues(bool shown) { keyboard_cues_ = shown; }
  bool keyboard_cues() const { return keyboard_cues_; }
  // The picture under the button changed (the progress screen's slides).
  void set_background(BackgroundCopy background) { background_ = std::move(background); }
  // Another strip of the same frame size, for another picture under the
  // button.
  void set_strip(ResourceBitmap strip) { strip_ = std::move(strip); }
  AccessibleProxy& accessible() { return *accessible_; }

 protected:
  // Draws frame |index| of the strip over |rect|.
  virtual void DrawFrame(HDC dc, const RECT& rect, int index) const;
  const ResourceBitmap& strip() const { return strip_; }
  const BackgroundCopy& background() const { return background_; }

 private:
  HWND window_;
  ResourceBitmap strip_;
  COLORREF text_colour_;
  HFONT font_;
  BackgroundCopy background_;
  Padding padding_;
  POINT pressed_text_offset_ = {0, 0};
  bool keyboard_cues_ = false;
  std::unique_ptr<AccessibleProxy, AccessibleProxyDeleter> accessible_;
};

// A picture button of any width: the strip's caps keep their shape and its
// middle is stretched (the redesigned dialogs' buttons).
class StretchButton : public PictureButton {
 public:
  // |cap_width| in the strip's 1x pixels.
  StretchButton(HWND window, ResourceBitmap strip, int cap_width, double scale_factor,
                COLORREF text_colour, HFONT font, BackgroundCopy background);

 protected:
  void DrawFrame(HDC dc, const RECT& rect, int index) const override;

 private:
  int cap_width_;  // scaled pixels of the strip
};

}  // namespace lite

#endif  // UI_CONTROLS_PICTURE_BUTTON_WIN_H_
