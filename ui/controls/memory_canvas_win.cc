#include "ui/controls/memory_canvas_win.h"

#include <algorithm>

namespace lite {

MemoryCanvas::MemoryCanvas(HDC target, const RECT& rect)
    : target_(target),
      rect_(rect),
      width_(std::max<int>(rect.right - rect.left, 1)),
      height_(std::max<int>(rect.bottom - rect.top, 1)),
      dc_(CreateCompatibleDC(target)),
      bitmap_(CreateCompatibleBitmap(target, width_, height_)) {
  if (!ok()) return;
  old_bitmap_ = SelectObject(dc_.get(), bitmap_.get());
  BitBlt(dc_.get(), 0, 0, width_, height_, target_, rect_.left, rect_.top, SRCCOPY);
}

MemoryCanvas::~MemoryCanvas() {
  Commit();
  if (ok()) SelectObject(dc_.get(), old_bitmap_);
}

void MemoryCanvas::Commit() {
  if (committed_ || !ok()) return;
  committed_ = true;
  BitBlt(target_, rect_.left, rect_.top, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}

void MemoryCanvas::CommitBlended(BYTE alpha) {
  if (committed_ || !ok()) return;
  committed_ = true;
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, 0};
  AlphaBlend(target_, rect_.left, rect_.top, width_, height_, dc_.get(), 0, 0, width_, height_,
             blend);
}

}  // namespace lite
