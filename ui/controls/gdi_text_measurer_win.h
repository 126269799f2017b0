// Text widths and line heights in a GDI font, for the multi-part text layout.
#ifndef UI_CONTROLS_GDI_TEXT_MEASURER_WIN_H_
#define UI_CONTROLS_GDI_TEXT_MEASURER_WIN_H_

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/controls/multi_part_text_layout.h"
#include "ui/layout/scoped_gdi_object_win.h"

namespace lite {

class GdiTextMeasurer : public TextMeasurer {
 public:
  // Measures on a screen-compatible DC with |font| selected.
  explicit GdiTextMeasurer(HFONT font);
  GdiTextMeasurer(const GdiTextMeasurer&) = delete;
  GdiTextMeasurer& operator=(const GdiTextMeasurer&) = delete;
  ~GdiTextMeasurer() override;

  // GetTextExtentPoint32W, in device units.
  int Width(std::u16string_view text) const override;
  // The height DrawTextW gives one line of the font ("anything").
  int LineHeight() const;
  // DrawTextW's DT_CALCRECT size of |text| in |format| at most |width| wide.
  SIZE Measure(std::wstring_view text, UINT format, int width) const;

 private:
  ScopedMemoryDc dc_;
  HGDIOBJ old_font_ = nullptr;
};

std::wstring ToWide(std::u16string_view text);
std::u16string ToU16(std::wstring_view text);

}  // namespace lite

#endif  // UI_CONTROLS_GDI_TEXT_MEASURER_WIN_H_
