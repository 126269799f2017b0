#include "base/time.h"

#include <gtest/gtest.h>

#include "base/guid.h"

namespace lite {
namespace {

TEST(TimeTest, CivilTimeOfKnownInstants) {
  // 2024-01-31 09:15:02.047 UTC
  CivilTime t = ToUtcCivilTime(1706692502047123LL);
  EXPECT_EQ(t.year, 2024);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 31);
  EXPECT_EQ(t.hour, 9);
  EXPECT_EQ(t.minute, 15);
  EXPECT_EQ(t.second, 2);
  EXPECT_EQ(t.millisecond, 47);

  // The leap day of 2000 and the day after it.
  t = ToUtcCivilTime(951782400LL * 1000000);
  EXPECT_EQ(t.month, 2);
  EXPECT_EQ(t.day, 29);
  t = ToUtcCivilTime(951868800LL * 1000000);
  EXPECT_EQ(t.month, 3);
  EXPECT_EQ(t.day, 1);

  // Before the epoch: one microsecond before 1970 is 1969-12-31 23:59:59.999.
  t = ToUtcCivilTime(-1);
  EXPECT_EQ(t.year, 1969);
  EXPECT_EQ(t.day, 31);
  EXPECT_EQ(t.second, 59);
  EXPECT_EQ(t.millisecond, 999);
}

TEST(TimeTest, WallClockIsNearNow) {
  // 2020-01-01 and 2100-01-01 bracket any plausible run.
  EXPECT_GT(WallClockMicros(), 1577836800LL * 1000000);
  EXPECT_LT(WallClockMicros(), 4102444800LL * 1000000);
}

TEST(GuidTest, TextFormAndBraces) {
  Guid g;
  g.data1 = 0x6F9619FF;
  g.data2 = 0x8B86;
  g.data3 = 0xD011;
  const uint8_t tail[8] = {0xB4, 0x2D, 0x00, 0xC0, 0x4F, 0xC9, 0x64, 0xFF};
  std::copy(tail, tail + 8, g.data4);
  EXPECT_EQ(GuidToString(g), "{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
  EXPECT_EQ(StripGuidBraces("{abc}"), "abc");
  EXPECT_EQ(StripGuidBraces("abc"), "abc");
  EXPECT_EQ(StripGuidBraces("{abc"), "{abc");
  EXPECT_EQ(StripGuidBraces("{}"), "");
}

}  // namespace
}  // namespace lite
