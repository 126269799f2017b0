#include "net/download_attempt_win.h"

#include "net/download_progress.h"
#include "net/downloader_win.h"
#include "net/transfer_stop_win.h"

namespace lite {
namespace {

// Whether the stop event is set costs a call into the kernel (a round trip
// to the wineserver under Wine) while a read over loopback takes a few
// microseconds, and a 200 MiB body is 6,400 reads. So the event is looked
// at before the first read and then at most every kIntervalMs; a stop waits
// that much longer at most.
class CancelPoll {
 public:
  CancelPoll(HANDLE event, DWORD now) : event_(event), last_check_(now) {}

  bool IsSignaled(DWORD now) {
    if (!event_) return false;
    // DWORD arithmetic stays right across the tick counter's wrap.
    if (checked_ && now - last_check_ < kIntervalMs) return false;
    checked_ = true;
    last_check_ = now;
    return IsCancelSignaled(event_);
  }

 private:
  static constexpr DWORD kIntervalMs = 50;
  const HANDLE event_;
  DWORD last_check_;
  bool checked_ = false;
};

void HandOut(const Downloader& downloader, DownloadAttemptResult* result) {
  result->error_text = downloader.last_error();
  result->redirect_url = downloader.redirect_url();
  result->total_size = downloader.total_size();
  result->exception = downloader.exception();
  result->proxy_credentials_exhausted = downloader.proxy_credentials_exhausted();
}

bool RunAttempt(Downloader& downloader, const std::u16string& url, DownloadSink* sink,
                HANDLE cancel_event, DownloadObserver* observer, DownloadAttemptResult* result) {
  if (!downloader.OpenDownload(url, sink)) {
    HandOut(downloader, result);
    return false;
  }
  if (observer && sink->bytes_written() == 0) {
    observer->OnProgress(0.0f);
    observer->OnRemainingTime(-1, kRemainingTimeStarting);
  }
  const DWORD start = GetTickCount();
  RemainingTimeEstimator estimator;
  CancelPoll cancel(cancel_event, start);
  bool succeeded = false;
  for (;;) {
    if (cancel.IsSignaled(GetTickCount())) break;
    if (downloader.ReadNext() == 0) {
      succeeded = downloader.FinalizeDownload();
      if (observer && succeeded) {
        observer->OnProgress(1.0f);
        observer->OnRemainingTime(0, kRemainingTimeFinished);
      }
      break;
    }
    const uint32_t total = downloader.total_size();
    if (total == 0) continue;
    const uint32_t done = sink->bytes_written();
    if (observer) observer->OnProgress(ProgressFraction(done, total));
    // DWORD arithmetic keeps the elapsed time right across the tick
    // counter's wrap.
    const DWORD elapsed_ms = GetTickCount() - start;
    std::optional<RemainingTimeEstimator::Estimate> estimate =
        estimator.Update(elapsed_ms, done, total);
    if (estimate && observer) {
      if (estimate->slow) observer->OnSlowDownload();
      observer->OnRemainingTime(static_cast<int64_t>(estimate->remaining_seconds),
                                kRemainingTimeEstimate);
    }
  }
  HandOut(downloader, result);
  return succeeded;
}

}  // namespace

bool DownloadAttempt(const std::u16string& url, DownloadSink* sink, HANDLE cancel_event,
                     DownloadObserver* observer, DownloadAttemptResult* result) {
  Downloader downloader;
  return RunAttempt(downloader, url, sink, cancel_event, observer, result);
}

bool DownloadAttempt(const std::u16string& url, DownloadSink* sink, TransferStop& stop,
                     DownloadObserver* observer, DownloadAttemptResult* result) {
  Downloader downloader(&stop, ProxyPromptUse::kAsk);
  return RunAttempt(downloader, url, sink, stop.event(), observer, result);
}

}  // namespace lite
