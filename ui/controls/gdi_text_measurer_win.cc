#include "ui/controls/gdi_text_measurer_win.h"

namespace lite {

GdiTextMeasurer::GdiTextMeasurer(HFONT font) : dc_(CreateCompatibleDC(nullptr)) {
  if (dc_) old_font_ = SelectObject(dc_.get(), font);
}

GdiTextMeasurer::~GdiTextMeasurer() {
  if (dc_ && old_font_) SelectObject(dc_.get(), old_font_);
}

int GdiTextMeasurer::Width(std::u16string_view text) const {
  if (text.empty() || !dc_) return 0;
  SIZE size = {};
  GetTextExtentPoint32W(dc_.get(), reinterpret_cast<const wchar_t*>(text.data()),
                        static_cast<int>(text.size()), &size);
  POINT ends[2] = {{0, 0}, {size.cx, 0}};
  LPtoDP(dc_.get(), ends, 2);
  return ends[1].x - ends[0].x;
}

int GdiTextMeasurer::LineHeight() const {
  return static_cast<int>(Measure(L"anything", DT_SINGLELINE, 0).cy);
}

SIZE GdiTextMeasurer::Measure(std::wstring_view text, UINT format, int width) const {
  RECT rect = {0, 0, width, 0};
  if (!dc_) return {0, 0};
  DrawTextW(dc_.get(), text.data(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

std::wstring ToWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string ToU16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace lite
