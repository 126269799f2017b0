#ifndef NET_DOWNLOAD_OBSERVER_H_
#define NET_DOWNLOAD_OBSERVER_H_

#include <cstdint>

namespace lite {

// Phases of OnRemainingTime.
enum RemainingTimePhase : int32_t {
  kRemainingTimeStarting = 0,   // seconds -1
  kRemainingTimeEstimate = 1,   // during the transfer
  kRemainingTimeFinished = 2,   // seconds 0
};

// Told about one download attempt's progress (by the installation engine).
class DownloadObserver {
 public:
  virtual ~DownloadObserver() = default;
  // |fraction| of the body received, 0 to 1.
  virtual void OnProgress(float fraction) = 0;
  // The whole transfer is expected to take more than two minutes.
  virtual void OnSlowDownload() = 0;
  virtual void OnRemainingTime(int64_t seconds, int32_t phase) = 0;
};

}  // namespace lite

#endif  // NET_DOWNLOAD_OBSERVER_H_
