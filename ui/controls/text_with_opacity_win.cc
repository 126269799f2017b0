#include "ui/controls/text_with_opacity_win.h"

#include <vector>

#include "ui/controls/memory_canvas_win.h"

namespace lite {

void DrawTextWithOpacity(HDC dc, const RECT& rect, std::wstring_view text, HFONT font,
                         COLORREF colour, BYTE alpha, UINT format) {
  if (text.empty() || rect.right <= rect.left || rect.bottom <= rect.top) return;
  MemoryCanvas canvas(dc, rect);
  if (!canvas.ok()) return;
  ScopedSelectObject select_font(canvas.dc(), font);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetTextColor(canvas.dc(), colour);
  RECT local = {0, 0, canvas.width(), canvas.height()};
  if (format == (DT_SINGLELINE | DT_NOPREFIX)) {
    DrawTextLine(canvas.dc(), local, text);
  } else {
    DrawTextW(canvas.dc(), text.data(), static_cast<int>(text.size()), &local,
              format | DT_WORDBREAK);
  }
  canvas.CommitBlended(alpha);
}

void DrawTextLine(HDC dc, const RECT& rect, std::wstring_view text) {
  if (text.empty()) return;
  const int count = static_cast<int>(text.size());
  std::vector<int> ends(text.size());
  SIZE size = {};
  if (!GetTextExtentExPointW(dc, text.data(), count, 0, nullptr, ends.data(), &size)) {
    RECT clip = rect;
    DrawTextW(dc, text.data(), count, &clip, DT_SINGLELINE | DT_NOPREFIX);
    return;
  }
  std::vector<int> advances(text.size());
  for (size_t i = 0; i < text.size(); ++i) advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
  const UINT align = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  ExtTextOutW(dc, rect.left, rect.top, ETO_CLIPPED, &rect, text.data(), static_cast<UINT>(count),
              advances.data());
  if (align != GDI_ERROR) SetTextAlign(dc, align);
}

}  // namespace lite
