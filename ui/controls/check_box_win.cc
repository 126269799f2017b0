#include "ui/controls/check_box_win.h"

#include <algorithm>

#include "ui/controls/gdi_text_measurer_win.h"
#include "ui/controls/memory_canvas_win.h"
#include "ui/controls/text_with_opacity_win.h"

namespace lite {
namespace {

constexpr int kCheckBoxFrames = 6;
constexpr UINT_PTR kStateSubclassId = 0x43424F58;  // "CBOX"

int FrameIndex(bool checked, bool pressed, bool hot) {
  return (checked ? 3 : 0) + (pressed ? 2 : hot ? 1 : 0);
}

std::wstring WindowText(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

}  // namespace

CheckBox::CheckBox(HWND window, ResourceBitmap strip, const CheckBoxStyle& style,
                   BackgroundCopy background, bool checked, bool owner_drawn)
    : window_(window),
      strip_(std::move(strip)),
      style_(style),
      background_(std::move(background)),
      frame_width_(strip_.Width() / kCheckBoxFrames),
      frame_height_(strip_.Height()),
      owner_drawn_(owner_drawn),
      checked_(checked) {
  if (owner_drawn_) {
    const LONG_PTR old_style = GetWindowLongPtrW(window_, GWL_STYLE);
    SetWindowLongPtrW(window_, GWL_STYLE, (old_style & ~LONG_PTR{BS_TYPEMASK}) | BS_OWNERDRAW);
    SetWindowSubclass(window_, &CheckBox::StateProc, kStateSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
  } else if (checked) {
    SendMessageW(window_, BM_SETCHECK, BST_CHECKED, 0);
  }
}

CheckBox::~CheckBox() {
  if (owner_drawn_) RemoveWindowSubclass(window_, &CheckBox::StateProc, kStateSubclassId);
}

LRESULT CALLBACK CheckBox::StateProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                     UINT_PTR, DWORD_PTR self) {
  auto* box = reinterpret_cast<CheckBox*>(self);
  switch (message) {
    case BM_GETCHECK:
      return box->checked_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      box->checked_ = wparam == BST_CHECKED;
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    default:
      return DefSubclassProc(window, message, wparam, lparam);
  }
}

bool CheckBox::IsChecked() const {
  if (owner_drawn_) return checked_;
  return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::OnClicked() {
  if (!owner_drawn_) return;
  checked_ = !checked_;
  InvalidateRect(window_, nullptr, FALSE);
}

int CheckBox::MeasureHeight(int width) const {
  const int text_width = width - style_.padding.right - LabelLeft();
  const GdiTextMeasurer measurer(style_.font);
  const int text_height = measurer.Measure(WindowText(window_), DT_WORDBREAK, text_width).cy;
  return style_.padding.top + style_.padding.bottom +
         std::max(frame_height_, LabelShift(measurer.LineHeight()) + text_height);
}

LRESULT CheckBox::OnCustomDraw(const NMCUSTOMDRAW& draw) {
  if (draw.dwDrawStage != CDDS_PREERASE) return CDRF_DODEFAULT;
  Draw(draw.hdc, draw.rc, IsChecked(), draw.uItemState & CDIS_SELECTED,
       draw.uItemState & CDIS_HOT, draw.uItemState & CDIS_FOCUS,
       draw.uItemState & CDIS_SHOWKEYBOARDCUES);
  return CDRF_SKIPDEFAULT;
}

void CheckBox::OnDrawItem(const DRAWITEMSTRUCT& draw) {
  Draw(draw.hDC, draw.rcItem, IsChecked(), draw.itemState & ODS_SELECTED,
       draw.itemState & ODS_HOTLIGHT,
       (draw.itemState & ODS_FOCUS) && !(draw.itemState & ODS_NOFOCUSRECT),
       !(draw.itemState & ODS_NOACCEL));
}

void CheckBox::Draw(HDC dc, const RECT& item, bool checked, bool pressed, bool hot, bool focused,
                    bool keyboard_cues) {
  MemoryCanvas canvas(dc, item);
  if (!canvas.ok()) return;
  background_.Draw(canvas.dc(), canvas.width(), canvas.height());
  if (!strip_.empty()) {
    const int index = FrameIndex(checked, pressed, hot);
    const RECT dst = {style_.padding.left, style_.padding.top,
                      style_.padding.left + frame_width_, style_.padding.top + frame_height_};
    const RECT src = {index * frame_width_, 0, (index + 1) * frame_width_, frame_height_};
    strip_.Draw(canvas.dc(), dst, src);
  }
  RECT label = {LabelLeft(), style_.padding.top, canvas.width() - style_.padding.right,
                canvas.height() - style_.padding.bottom};
  const GdiTextMeasurer measurer(style_.font);
  const int line_height =
      measurer.Measure(L"anything", DT_SINGLELINE | (keyboard_cues ? 0 : DT_HIDEPREFIX), 0).cy;
  label.top += LabelShift(line_height);
  DrawLabel(canvas.dc(), label, keyboard_cues);
  if (focused && style_.focus_rectangle) {
    const RECT focus = {0, 0, canvas.width(), canvas.height()};
    DrawFocusRect(canvas.dc(), &focus);
  }
}

void CheckBox::DrawLabel(HDC dc, const RECT& rect, bool keyboard_cues) const {
  DrawTextWithOpacity(dc, rect, WindowText(window_), style_.font, style_.text_colour,
                      style_.alpha, keyboard_cues ? 0 : DT_HIDEPREFIX);
}

void CheckBoxWithLink::SetLabel(std::wstring_view text, const RECT& rect, int line_spacing,
                                POINT margins, HWND link, bool centre_lines) {
  rect_ = rect;
  line_spacing_ = line_spacing;
  margins_ = margins;
  link_ = link;
  // The link is one control: it is kept on one line.
  std::vector<TextRun> runs;
  for (TextRun& run : SplitIntoRuns(ToU16(text))) {
    if (run.link && !runs.empty() && runs.back().link) {
      runs.back().text += run.text;
    } else {
      runs.push_back(std::move(run));
    }
  }
  const GdiTextMeasurer measurer(style().font);
  line_height_ = measurer.LineHeight();
  const int available = (rect.right - rect.left) - style().padding.right - LabelLeft();
  parts_ = LayOutParts(runs, measurer, available, centre_lines);
  // Screen readers read the label without its markup.
  SetWindowTextW(hwnd(), ToWide(RemoveParentheses(ToU16(text))).c_str());
}

void CheckBoxWithLink::PlaceLinks() const {
  if (!link_) return;
  const int top = style().padding.top + LabelShift(line_height_);
  for (const TextPart& part : parts_) {
    if (!part.link) continue;
    const int x = rect_.left + LabelLeft() + part.x - margins_.x;
    const int y = rect_.top + top + part.line * (line_height_ + line_spacing_) - margins_.y;
    SetWindowPos(link_, nullptr, x, y, part.width + 2 * margins_.x,
                 line_height_ + 2 * margins_.y, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
}

int CheckBoxWithLink::MeasureHeight(int width) const {
  if (parts_.empty()) return CheckBox::MeasureHeight(width);
  const int lines = parts_.back().line + 1;
  const int text_height = lines * line_height_ + (lines - 1) * line_spacing_;
  return style().padding.top + style().padding.bottom +
         std::max(frame_height(), LabelShift(line_height_) + text_height);
}

void CheckBoxWithLink::DrawLabel(HDC dc, const RECT& rect, bool keyboard_cues) const {
  if (parts_.empty()) {
    CheckBox::DrawLabel(dc, rect, keyboard_cues);
    return;
  }
  for (const TextPart& part : parts_) {
    if (part.link) continue;  // the link control draws itself there
    const int top = rect.top + part.line * (line_height_ + line_spacing_);
    const RECT part_rect = {LabelLeft() + part.x, top, LabelLeft() + part.x + part.width,
                            top + line_height_};
    DrawTextWithOpacity(dc, part_rect, ToWide(part.text), style().font, style().text_colour,
                        style().alpha, DT_SINGLELINE | DT_NOPREFIX);
  }
}

}  // namespace lite
