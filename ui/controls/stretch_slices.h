// The three slices a stretched picture button is drawn in: the two caps
// keep their shape, the middle is stretched over the rest of the width.
#ifndef UI_CONTROLS_STRETCH_SLICES_H_
#define UI_CONTROLS_STRETCH_SLICES_H_

#include <array>

namespace lite {

// Source in the picture's scaled pixels, destination in the button's.
struct StretchSlice {
  int src_x, src_width;
  int dst_x, dst_width;
};

// |frame_x| and |frame_width| locate the frame in the strip, |cap_width| is
// the caps' width and |frame_height| the strip's height (all scaled pixels).
// The caps are scaled to the button's height; the right cap is drawn one
// pixel further left and two pixels wider so that no seam shows.
std::array<StretchSlice, 3> ComputeStretchSlices(int frame_x, int frame_width, int cap_width,
                                                 int frame_height, int button_width,
                                                 int button_height);

}  // namespace lite

#endif  // UI_CONTROLS_STRETCH_SLICES_H_
