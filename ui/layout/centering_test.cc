#include "ui/layout/centering.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

TEST(CenteringTest, CentresThenKeepsInsideTheWorkArea) {
  const Rect work = {0, 0, 1280, 760};
  struct Case {
    Rect window, reference, expected;
  } const cases[] = {
      // On the work area itself; odd sizes use integer halves.
      {{0, 0, 802, 430}, work, {239, 165, 1041, 595}},
      {{5, 5, 11, 8}, {0, 0, 11, 11}, {2, 4, 8, 7}},
      // On an owner near the right and bottom edges: pushed back in.
      {{0, 0, 400, 200}, {1000, 600, 1280, 760}, {880, 560, 1280, 760}},
      // On an owner partly off the left: pushed right.
      {{0, 0, 400, 200}, {-300, 100, 100, 300}, {0, 100, 400, 300}},
      // Larger than the area: the top-left corner stays visible.
      {{0, 0, 1500, 900}, work, {0, 0, 1500, 900}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CenterRect(c.window, c.reference, work), c.expected)
        << c.expected.left << "," << c.expected.top;
  }
}

}  // namespace
}  // namespace lite
