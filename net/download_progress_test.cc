#include "net/download_progress.h"

#include "gtest/gtest.h"

namespace lite {
namespace {

TEST(DownloadProgressTest, FractionStaysWithinZeroAndOne) {
  EXPECT_EQ(ProgressFraction(5, 0), 0.0f);
  EXPECT_FLOAT_EQ(ProgressFraction(1, 4), 0.25f);
  // Large sizes in single precision, as the window shows them.
  EXPECT_FLOAT_EQ(ProgressFraction(4000000000u, 4294967295u), 0.93132257f);
  EXPECT_EQ(ProgressFraction(7, 5), 1.0f);
}

// 20 MB at 100 KB/s: the first estimate comes after a minute, with 6 MB in,
// and says 140 s more; 200 s in all is slow.
TEST(DownloadProgressTest, EstimatesOncePerMinuteAndFlagsSlowTransfers) {
  constexpr uint32_t kTotal = 20000000;
  constexpr uint32_t kRate = 100000;  // bytes per second
  RemainingTimeEstimator estimator;
  EXPECT_FALSE(estimator.Update(59999, 59999 * (kRate / 1000), kTotal));
  std::optional<RemainingTimeEstimator::Estimate> first =
      estimator.Update(60000, 60 * kRate, kTotal);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->remaining_seconds, 140u);
  EXPECT_TRUE(first->slow);
  // Nothing more until another minute has passed.
  EXPECT_FALSE(estimator.Update(119999, 119 * kRate, kTotal));
  std::optional<RemainingTimeEstimator::Estimate> second =
      estimator.Update(120000, 120 * kRate, kTotal);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->remaining_seconds, 80u);

  // Fast enough: 60 s in, 50 s to go is 110 s in all.
  RemainingTimeEstimator fast;
  std::optional<RemainingTimeEstimator::Estimate> quick = fast.Update(60000, 6000, 11000);
  ASSERT_TRUE(quick);
  EXPECT_EQ(quick->remaining_seconds, 50u);
  EXPECT_FALSE(quick->slow);

  // Nothing received yet, or a body longer than announced.
  RemainingTimeEstimator edge;
  EXPECT_FALSE(edge.Update(600000, 0, kTotal));
  std::optional<RemainingTimeEstimator::Estimate> over = edge.Update(600000, kTotal + 5, kTotal);
  ASSERT_TRUE(over);
  EXPECT_EQ(over->remaining_seconds, 0u);
}

}  // namespace
}  // namespace lite
