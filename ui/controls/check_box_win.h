// A check box drawn from a strip of six pictures (unchecked and checked,
// each normal, hot and pressed) with its label blended onto the parent's
// background. Without visual styles the system would not send custom-draw
// notifications for it, so it becomes owner-drawn and keeps its own state,
// which it then also gives as the answer to BM_GETCHECK (and takes from
// BM_SETCHECK), as an ordinary check box does.
#ifndef UI_CONTROLS_CHECK_BOX_WIN_H_
#define UI_CONTROLS_CHECK_BOX_WIN_H_

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/controls/background_copy_win.h"
#include "ui/controls/multi_part_text_layout.h"
#include "ui/controls/picture_button_win.h"
#include "ui/images/resource_bitmap_win.h"

namespace lite {

struct CheckBoxStyle {
  bool focus_rectangle = true;
  Padding padding;
  COLORREF text_colour = 0;
  BYTE alpha = 255;
  HFONT font = nullptr;
  int label_gap = 0;  // between the box and its label, screen pixels
};

class CheckBox {
 public:
  // |owner_drawn| is true when visual styles are off (IsAppThemed).
  CheckBox(HWND window, ResourceBitmap strip, const CheckBoxStyle& style,
           BackgroundCopy background, bool checked, bool owner_drawn);
  CheckBox(const CheckBox&) = delete;
  CheckBox& operator=(const CheckBox&) = delete;
  virtual ~CheckBox();

  HWND hwnd() const { return window_; }
  bool owner_drawn() const { return owner_drawn_; }
  bool IsChecked() const;
  // BN_CLICKED: the owner-drawn box flips its own state.
  void OnClicked();
  // The height the box needs at |width| (padding included).
  virtual int MeasureHeight(int width) const;
  LRESULT OnCustomDraw(const NMCUSTOMDRAW& draw);
  void OnDrawItem(const DRAWITEMSTRUCT& draw);
  void set_background(BackgroundCopy background) { background_ = std::move(background); }

 protected:
  // Draws the label right of the box into |rect| (canvas coordinates).
  virtual void DrawLabel(HDC dc, const RECT& rect, bool keyboard_cues) const;
  int frame_width() const { return frame_width_; }
  int frame_height() const { return frame_height_; }
  const CheckBoxStyle& style() const { return style_; }
  // Left of the label inside the control.
  int LabelLeft() const { return style_.padding.left + frame_width_ + style_.label_gap; }
  // How far the label starts below the padding: a picture taller than a
  // line of |line_height| has the first line centred on it.
  int LabelShift(int line_height) const { return std::max(0, (frame_height_ - line_height) / 2); }

 private:
  static LRESULT CALLBACK StateProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR id, DWORD_PTR self);
  void Draw(HDC dc, const RECT& item, bool checked, bool pressed, bool hot, bool focused,
            bool keyboard_cues);

  HWND window_;
  ResourceBitmap strip_;
  CheckBoxStyle style_;
  BackgroundCopy background_;
  int frame_width_;
  int frame_height_;
  bool owner_drawn_;
  bool checked_;  // the owner-drawn box's own state
};

// The statistics check box of the redesigned windows: its label ends with
// an inline link whose part is covered by the privacy-link control.
class CheckBoxWithLink : public CheckBox {
 public:
  using CheckBox::CheckBox;

  // Lays |text| (with "((link))" markup) out for the box's current width;
  // |rect| is the box's rectangle in its parent, |margins| the room kept
  // around the link, |link| the control placed on the link part.
  void SetLabel(std::wstring_view text, const RECT& rect, int line_spacing, POINT margins,
                HWND link, bool centre_lines);
  // Moves the link control onto the link part (parent coordinates).
  void PlaceLinks() const;
  int MeasureHeight(int width) const override;

 protected:
  void DrawLabel(HDC dc, const RECT& rect, bool keyboard_cues) const override;

 private:
  std::vector<TextPart> parts_;
  int line_height_ = 0;
  int line_spacing_ = 0;
  POINT margins_ = {0, 0};
  RECT rect_ = {};
  HWND link_ = nullptr;
};

}  // namespace lite

#endif  // UI_CONTROLS_CHECK_BOX_WIN_H_
