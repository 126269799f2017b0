#include "net/download_progress.h"

namespace lite {

float ProgressFraction(uint32_t done, uint32_t total) {
  if (total == 0) return 0.0f;
  if (done >= total) return 1.0f;
  return static_cast<float>(done) / static_cast<float>(total);
}

std::optional<RemainingTimeEstimator::Estimate> RemainingTimeEstimator::Update(
    uint64_t elapsed_ms, uint32_t done, uint32_t total) {
  if (done == 0 || total == 0) return std::nullopt;
  if (elapsed_ms < last_estimate_ms_ || elapsed_ms - last_estimate_ms_ < kIntervalMs) {
    return std::nullopt;
  }
  last_estimate_ms_ = elapsed_ms;
  // A body longer than announced has nothing left rather than an
  // underflowed eternity.
  const uint64_t left = done < total ? total - done : 0;
  Estimate estimate;
  estimate.remaining_seconds = elapsed_ms * left / done / 1000;
  estimate.slow = estimate.remaining_seconds + elapsed_ms / 1000 > kSlowSeconds;
  return estimate;
}

}  // namespace lite
