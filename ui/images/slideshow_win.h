// The progress screen's background: each slide of a SlideSource for the
// display time, bottom-left aligned on the slide background brush.
#ifndef UI_IMAGES_SLIDESHOW_WIN_H_
#define UI_IMAGES_SLIDESHOW_WIN_H_

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "ui/images/resource_bitmap_win.h"
#include "ui/images/slide_source_win.h"

namespace lite {

inline constexpr uint64_t kSlideDisplayMs = 10000;

class Slideshow {
 public:
  using Clock = std::function<uint64_t()>;  // milliseconds

  // Shows Next(0) at once; the first advance goes to |start_index|.
  Slideshow(SIZE window_size, std::unique_ptr<SlideSource> source, HBRUSH brush,
            uint64_t display_ms = kSlideDisplayMs, int start_index = 1,
            Clock clock = &GetTickCount64);
  Slideshow(const Slideshow&) = delete;
  Slideshow& operator=(const Slideshow&) = delete;

  // Restarts the current slide's display time (the progress screen shows).
  void StartClock();
  // Advances when the display time is over; true when the window must be
  // repainted.
  bool Tick();
  void Paint(HDC dc, const RECT& area) const;
  // True once a slide other than the first is shown.
  bool HasMoved() const { return index_ != 0; }
  const ResourceBitmap& CurrentPicture() const { return picture_; }
  const RECT& CurrentRect() const { return rect_; }

 private:
  void Show(int index);

  const SIZE window_size_;
  std::unique_ptr<SlideSource> source_;
  HBRUSH brush_;
  const uint64_t display_ms_;
  const int start_index_;
  Clock clock_;
  int index_ = 0;
  ResourceBitmap picture_;
  RECT rect_ = {};
  uint64_t start_time_ = 0;
  bool needs_repaint_ = false;
};

}  // namespace lite

#endif  // UI_IMAGES_SLIDESHOW_WIN_H_
