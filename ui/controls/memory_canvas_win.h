// An off-screen bitmap the size of a rectangle: a control draws its layers
// there and copies the result onto the screen at once, without flicker.
#ifndef UI_CONTROLS_MEMORY_CANVAS_WIN_H_
#define UI_CONTROLS_MEMORY_CANVAS_WIN_H_

#include <windows.h>

#include "ui/layout/scoped_gdi_object_win.h"

namespace lite {

class MemoryCanvas {
 public:
  // Starts with a copy of what |target| shows in |rect|.
  MemoryCanvas(HDC target, const RECT& rect);
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  ~MemoryCanvas();

  // Draw here in coordinates relative to the rectangle's top-left corner.
  HDC dc() const { return dc_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }
  bool ok() const { return dc_.is_valid() && bitmap_.is_valid(); }

  // Copies the canvas onto the target; also done by the destructor.
  void Commit();
  // Blends the canvas onto the target with a constant |alpha|.
  void CommitBlended(BYTE alpha);

 private:
  HDC target_;
  RECT rect_;
  int width_;
  int height_;
  ScopedMemoryDc dc_;
  ScopedBitmap bitmap_;
  HGDIOBJ old_bitmap_ = nullptr;
  bool committed_ = false;
};

}  // namespace lite

#endif  // UI_CONTROLS_MEMORY_CANVAS_WIN_H_
