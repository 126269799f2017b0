#include "ui/images/slideshow_win.h"

#include <algorithm>
#include <utility>

namespace lite {

Slideshow::Slideshow(SIZE window_size, std::unique_ptr<SlideSource> source, HBRUSH brush,
                     uint64_t display_ms, int start_index, Clock clock)
    : window_size_(window_size),
      source_(std::move(source)),
      brush_(brush),
      display_ms_(display_ms),
      start_index_(start_index),
      clock_(std::move(clock)) {
  Show(0);
}

void Slideshow::Show(int index) {
  index_ = index;
  picture_ = source_->Next(index);
  const int width = std::min<int>(picture_.Width(), window_size_.cx);
  rect_ = {0, window_size_.cy - picture_.Height(), width, window_size_.cy};
  start_time_ = clock_();
  needs_repaint_ = true;
}

void Slideshow::StartClock() { start_time_ = clock_(); }

bool Slideshow::Tick() {
  if (clock_() >= start_time_ + display_ms_) Show(index_ == 0 ? start_index_ : index_ + 1);
  return std::exchange(needs_repaint_, false);
}

void Slideshow::Paint(HDC dc, const RECT& area) const {
  FillRect(dc, &area, brush_);
  const RECT source = {0, 0, rect_.right - rect_.left, rect_.bottom - rect_.top};
  picture_.Draw(dc, rect_, source);
}

}  // namespace lite
