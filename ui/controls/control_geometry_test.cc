#include <gtest/gtest.h>

#include "ui/controls/focus_order.h"
#include "ui/controls/progress_bar_geometry.h"
#include "ui/controls/stretch_slices.h"

namespace lite {
namespace {

TEST(ProgressBarGeometryTest, FillAndTrackWidths) {
  struct Case {
    int width, low, high, position, fill, track;
  } cases[] = {
      {393, 0, 100, 0, 0, 393},     // only the track
      {393, 0, 100, 100, 393, 0},   // only the fill
      {393, 0, 100, 37, 145, 248},  // 393 * 37 / 100 = 145.41
      {292, 0, 100, 150, 292, 0},   // beyond the range: full
      {292, 10, 20, 15, 146, 146},
      {292, 5, 5, 5, 0, 292},       // empty range: no division by zero
  };
  for (const Case& c : cases) {
    const ProgressBarSegments s = ComputeProgressBarSegments(c.width, c.low, c.high, c.position);
    EXPECT_EQ(s.fill_width, c.fill) << c.position;
    EXPECT_EQ(s.track_width, c.track) << c.position;
  }
}

TEST(StretchSlicesTest, CapsKeepTheirWidthAndMiddleStretches) {
  // Frame 1 of a 100 x 35 strip frame, caps of 10, button 180 x 35.
  const auto slices = ComputeStretchSlices(100, 100, 10, 35, 180, 35);
  EXPECT_EQ(slices[0].src_x, 100);
  EXPECT_EQ(slices[0].dst_width, 10);
  EXPECT_EQ(slices[1].src_x, 110);
  EXPECT_EQ(slices[1].src_width, 80);
  EXPECT_EQ(slices[1].dst_x, 10);
  EXPECT_EQ(slices[1].dst_width, 160);
  EXPECT_EQ(slices[2].src_x, 190);
  EXPECT_EQ(slices[2].dst_x, 169);
  EXPECT_EQ(slices[2].dst_width, 12);
  // A taller button widens the caps in proportion.
  EXPECT_EQ(ComputeStretchSlices(0, 100, 10, 35, 180, 70)[0].dst_width, 20);
}

TEST(FocusOrderTest, TabOrderAndArrowToggle) {
  EXPECT_EQ(WelcomeTabOrder(false), (std::array<int, 7>{1, 223, 218, 109, 112, 110, 213}));
  EXPECT_EQ(WelcomeTabOrder(true), (std::array<int, 7>{1, 223, 218, 110, 112, 109, 213}));

  ArrowFocusToggle toggle;
  EXPECT_FALSE(toggle.OnArrow(ArrowDirection::kForward));   // key down
  EXPECT_FALSE(toggle.OnArrow(ArrowDirection::kBackward));  // the other direction has its own
  EXPECT_TRUE(toggle.OnArrow(ArrowDirection::kForward));    // key up: move
  EXPECT_TRUE(toggle.OnArrow(ArrowDirection::kBackward));
  EXPECT_FALSE(toggle.OnArrow(ArrowDirection::kForward));
}

}  // namespace
}  // namespace lite
