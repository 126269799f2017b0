#include "ui/controls/progress_bar_geometry.h"

#include <algorithm>
#include <cstdint>

namespace lite {

ProgressBarSegments ComputeProgressBarSegments(int width, int low, int high, int position) {
  ProgressBarSegments segments;
  width = std::max(width, 0);
  if (high <= low) {
    segments.track_width = width;
    return segments;
  }
  const int64_t done = std::clamp(position, low, high) - int64_t{low};
  segments.fill_width = static_cast<int>(int64_t{width} * done / (int64_t{high} - low));
  segments.track_width = width - segments.fill_width;
  return segments;
}

}  // namespace lite
