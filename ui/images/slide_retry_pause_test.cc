#include "ui/images/slide_retry_pause.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

TEST(SlideRetryPauseTest, DoublesUpToTheLongest) {
  const SlideRetryPacing pacing;  // what the window uses
  const struct {
    int failures;
    uint32_t pause_ms;
  } cases[] = {{-1, 0}, {0, 0}, {1, 500}, {2, 1000}, {3, 2000}, {4, 4000},
               {5, 8000}, {6, 8000}, {9, 8000}, {1000000, 8000}};
  for (const auto& c : cases) EXPECT_EQ(SlideRetryPauseMs(c.failures, pacing), c.pause_ms) << c.failures;
  // Ten failures take about a minute, not a burst of requests.
  uint32_t total = 0;
  for (int failures = 1; failures < 10; ++failures) total += SlideRetryPauseMs(failures, pacing);
  EXPECT_EQ(total, 500u + 1000 + 2000 + 4000 + 5 * 8000);
  EXPECT_EQ(SlideRetryPauseMs(3, {0, 100}), 0u);
  EXPECT_EQ(SlideRetryPauseMs(40, {1, 0xFFFFFFFFu}), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace lite
