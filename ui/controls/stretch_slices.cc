#include "ui/controls/stretch_slices.h"

#include <algorithm>

namespace lite {

std::array<StretchSlice, 3> ComputeStretchSlices(int frame_x, int frame_width, int cap_width,
                                                 int frame_height, int button_width,
                                                 int button_height) {
  cap_width = std::clamp(cap_width, 0, frame_width / 2);
  int dst_cap = frame_height > 0 ? cap_width * button_height / frame_height : cap_width;
  dst_cap = std::clamp(dst_cap, 0, button_width / 2);
  const StretchSlice left{frame_x, cap_width, 0, dst_cap};
  const StretchSlice right{frame_x + frame_width - cap_width, cap_width,
                           button_width - dst_cap - 1, dst_cap + 2};
  const StretchSlice middle{frame_x + cap_width, frame_width - 2 * cap_width, dst_cap,
                            button_width - 2 * dst_cap};
  return {left, middle, right};
}

}  // namespace lite
