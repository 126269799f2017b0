#include "ui/controls/background_copy_win.h"

namespace lite {

void BackgroundCopy::Draw(HDC dc, int width, int height) const {
  if (picture.empty() || width <= 0 || height <= 0) return;
  const RECT dst = {0, 0, width, height};
  RECT src = {margins.left + offset.x, margins.top + offset.y, 0, 0};
  if (stretched_to.cx > 0 && stretched_to.cy > 0) {
    const int inner_width = picture.Width() - margins.left - margins.right;
    const int inner_height = picture.Height() - margins.top - margins.bottom;
    src.left = margins.left + MulDiv(offset.x, inner_width, stretched_to.cx);
    src.top = margins.top + MulDiv(offset.y, inner_height, stretched_to.cy);
    src.right = src.left + MulDiv(width, inner_width, stretched_to.cx);
    src.bottom = src.top + MulDiv(height, inner_height, stretched_to.cy);
  } else {
    src.right = src.left + width;
    src.bottom = src.top + height;
  }
  picture.Draw(dc, dst, src);
}

POINT OffsetInParent(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top};
}

}  // namespace lite
