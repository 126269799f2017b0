#include "ui/controls/text_with_opacity_win.h"

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
  DrawTextW(canvas.dc(), text.data(), static_cast<int>(text.size()), &local,
            format | DT_WORDBREAK);
  canvas.CommitBlended(alpha);
}

}  // namespace lite
