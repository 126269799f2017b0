// Where the progress bar's fill and track pictures go for a position.
#ifndef UI_CONTROLS_PROGRESS_BAR_GEOMETRY_H_
#define UI_CONTROLS_PROGRESS_BAR_GEOMETRY_H_

namespace lite {

// The fill covers [0, fill_width); the track [fill_width, bar width). Either
// may be empty.
struct ProgressBarSegments {
  int fill_width = 0;
  int track_width = 0;
};

// Filled width = width * (position - low) / (high - low) in integer
// arithmetic. A position outside the range is held at its ends; an empty or
// inverted range shows only the track.
ProgressBarSegments ComputeProgressBarSegments(int width, int low, int high, int position);

}  // namespace lite

#endif  // UI_CONTROLS_PROGRESS_BAR_GEOMETRY_H_
