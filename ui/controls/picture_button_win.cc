#include "ui/controls/picture_button_win.h"

#include <array>
#include <string>

#include "ui/controls/memory_canvas_win.h"
#include "ui/controls/stretch_slices.h"
#include "ui/layout/scale.h"
#include "ui/layout/scoped_gdi_object_win.h"

namespace lite {
namespace {

constexpr int kButtonFrames = 3;

int FrameIndex(UINT item_state) {
  if (item_state & CDIS_SELECTED) return 2;
  if (item_state & CDIS_HOT) return 1;
  return 0;
}

std::wstring WindowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

}  // namespace

PictureButton::PictureButton(HWND window, ResourceBitmap strip, COLORREF text_colour, HFONT font,
                             BackgroundCopy background, Padding padding)
    : window_(window),
      strip_(std::move(strip)),
      text_colour_(text_colour),
      font_(font),
      background_(std::move(background)),
      padding_(padding),
      accessible_(AccessibleProxy::Create(window)) {
  accessible_->set_role(ROLE_SYSTEM_PUSHBUTTON);
}

PictureButton::~PictureButton() = default;

SIZE PictureButton::GetSize() const { return {strip_.Width() / kButtonFrames, strip_.Height()}; }

LRESULT PictureButton::OnCustomDraw(const NMCUSTOMDRAW& draw, int focus_inset) {
  if (draw.dwDrawStage != CDDS_PREERASE) return CDRF_DODEFAULT;
  const RECT item = draw.rc;
  {
    MemoryCanvas canvas(draw.hdc, item);
    const RECT local = {0, 0, canvas.width(), canvas.height()};
    background_.Draw(canvas.dc(), canvas.width(), canvas.height());
    const int index = FrameIndex(draw.uItemState);
    DrawFrame(canvas.dc(), local, index);

    const std::wstring text = WindowText(window_);
    if (!text.empty()) {
      ScopedSelectObject select_font(canvas.dc(), font_);
      SetBkMode(canvas.dc(), TRANSPARENT);
      SetTextColor(canvas.dc(), text_colour_);
      RECT text_rect = {local.left + padding_.left, local.top + padding_.top,
                        local.right - padding_.right, local.bottom - padding_.bottom};
      if (index == 2) OffsetRect(&text_rect, pressed_text_offset_.x, pressed_text_offset_.y);
      UINT format = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
      if (!(draw.uItemState & CDIS_SHOWKEYBOARDCUES)) format |= DT_HIDEPREFIX;
      DrawTextW(canvas.dc(), text.c_str(), static_cast<int>(text.size()), &text_rect, format);
    }
    if ((draw.uItemState & CDIS_FOCUS) && keyboard_cues_) {
      RECT focus = local;
      InflateRect(&focus, -focus_inset, -focus_inset);
      DrawFocusRect(canvas.dc(), &focus);
    }
  }
  return CDRF_SKIPDEFAULT;
}

void PictureButton::DrawFrame(HDC dc, const RECT& rect, int index) const {
  if (strip_.empty()) return;
  const int frame_width = strip_.Width() / kButtonFrames;
  const RECT dst = {rect.left, rect.top, rect.left + frame_width, rect.top + strip_.Height()};
  const RECT src = {index * frame_width, 0, (index + 1) * frame_width, strip_.Height()};
  strip_.Draw(dc, dst, src);
}

StretchButton::StretchButton(HWND window, ResourceBitmap strip, int cap_width,
                             double scale_factor, COLORREF text_colour, HFONT font,
                             BackgroundCopy background)
    : PictureButton(window, std::move(strip), text_colour, font, std::move(background), {}),
      cap_width_(Scale(scale_factor, cap_width)) {}

void StretchButton::DrawFrame(HDC dc, const RECT& rect, int index) const {
  if (strip().empty()) return;
  // Rounded up, so that the last column of a frame at a fractional scale is
  // not lost.
  const int frame_width = strip().CeilWidth() / kButtonFrames;
  const int frame_height = strip().CeilHeight();
  const std::array<StretchSlice, 3> slices =
      ComputeStretchSlices(index * frame_width, frame_width, cap_width_, frame_height,
                           rect.right - rect.left, rect.bottom - rect.top);
  auto draw = [&](const StretchSlice& slice, int widen_left) {
    const RECT dst = {rect.left + slice.dst_x - widen_left, rect.top,
                      rect.left + slice.dst_x + slice.dst_width, rect.bottom};
    const RECT src = {slice.src_x, 0, slice.src_x + slice.src_width, frame_height};
    strip().Draw(dc, dst, src);
  };
  // A stretched picture leaves its first column blank: the middle starts
  // one pixel under the left cap, which is drawn over it.
  draw(slices[1], 1);
  draw(slices[0], 0);
  draw(slices[2], 0);
}

}  // namespace lite
