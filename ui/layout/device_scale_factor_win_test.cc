#include "ui/layout/device_scale_factor_win.h"

#include "gtest/gtest.h"

namespace lite {
namespace {

TEST(DeviceScaleFactorTest, ForcedValueWinsOnlyWhenFiniteAndNonZero) {
  struct Case {
    const char* forced;
    int dpi;
    double expected;
  } cases[] = {
      {"1.5", 96, 1.5}, {"2", 144, 2.0},  {"", 144, 1.5},   {"0", 120, 1.25},
      {"abc", 96, 1.0}, {"inf", 96, 1.0}, {"nan", 192, 2.0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(ScaleFactorFrom(c.forced, c.dpi), c.expected) << c.forced << " " << c.dpi;
  }
}

}  // namespace
}  // namespace lite
