// The arithmetic of a download attempt's progress reports.
#ifndef NET_DOWNLOAD_PROGRESS_H_
#define NET_DOWNLOAD_PROGRESS_H_

#include <cstdint>
#include <optional>

namespace lite {

// done / total in single precision, at most 1; 0 while the total is unknown.
float ProgressFraction(uint32_t done, uint32_t total);

// Extrapolates the rate so far, at most once a minute.
class RemainingTimeEstimator {
 public:
  static constexpr uint64_t kIntervalMs = 60000;
  // A transfer expected to take longer than this in all is slow.
  static constexpr uint64_t kSlowSeconds = 120;

  struct Estimate {
    uint64_t remaining_seconds = 0;
    bool slow = false;
  };

  // After a read that brought the body to |done| of |total| bytes,
  // |elapsed_ms| after the attempt started. An estimate once |kIntervalMs|
  // have passed since the previous one (or since the start).
  std::optional<Estimate> Update(uint64_t elapsed_ms, uint32_t done, uint32_t total);

 private:
  uint64_t last_estimate_ms_ = 0;
};

}  // namespace lite

#endif  // NET_DOWNLOAD_PROGRESS_H_
