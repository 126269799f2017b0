// Where a window goes when it is centred on a reference rectangle and kept
// inside the work area.
#ifndef UI_LAYOUT_CENTERING_H_
#define UI_LAYOUT_CENTERING_H_

#include "ui/layout/scale.h"

namespace lite {

// |window| moved so that its centre (integer halves) lies on |reference|'s
// centre, then pushed back inside |work_area|: right and bottom edges
// first, then left and top, so a window larger than the area shows its
// top-left part.
inline Rect CenterRect(const Rect& window, const Rect& reference, const Rect& work_area) {
  const int width = window.width();
  const int height = window.height();
  int left = reference.left + reference.width() / 2 - width / 2;
  int top = reference.top + reference.height() / 2 - height / 2;
  if (left + width > work_area.right) left = work_area.right - width;
  if (top + height > work_area.bottom) top = work_area.bottom - height;
  if (left < work_area.left) left = work_area.left;
  if (top < work_area.top) top = work_area.top;
  return {left, top, left + width, top + height};
}

}  // namespace lite

#endif  // UI_LAYOUT_CENTERING_H_
