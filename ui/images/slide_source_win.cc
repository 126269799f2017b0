#include "ui/images/slide_source_win.h"

#include <utility>

#include "base/utf.h"
#include "base/wide_string_win.h"
#include "logging/system_error_win.h"
#include "net/download_sink.h"
#include "net/downloader_win.h"
#include "net/transfer_stop_win.h"
#include "ui/images/slide_picture_check.h"

namespace lite {
namespace {

// Holds at most one slide's worth of bytes: a larger body ends the transfer
// instead of filling memory.
class SlideSink : public DownloadSink {
 public:
  bool Write(const char* data, uint32_t count) override {
    if (count > kMaxSlideBytes - data_.size()) {
      too_large_ = true;
      SetLastError(ERROR_FILE_TOO_LARGE);
      return false;
    }
    data_.append(data, count);
    bytes_written_ += count;
    return true;
  }
  bool Reset() override {
    data_.clear();
    bytes_written_ = 0;
    too_large_ = false;
    return true;
  }
  bool too_large() const { return too_large_; }
  std::string Take() { return std::move(data_); }

 private:
  std::string data_;
  bool too_large_ = false;
};

}  // namespace

// One slide transfer into memory on a thread of its own, so that the
// download thread can give up on it after the time limit even while WinINet
// is blocked in a call. Its thread shares this state and nothing else with
// the source.
struct SlideTransfer {
  explicit SlideTransfer(std::string slide_address) : address(std::move(slide_address)) {}

  void Run() {
    {
      Downloader downloader(&stop);
      if (downloader.OpenDownload(WidenBytes(address), &sink)) {
        while (downloader.ReadNext() != 0) {
          if (IsCancelSignaled(stop.event())) break;
        }
        succeeded = !IsCancelSignaled(stop.event()) && downloader.FinalizeDownload();
      }
    }
    done.Signal();
  }

  const std::string address;
  // Closes the transfer's WinINet handles, which ends a blocked call where
  // WinINet allows it (Windows does).
  TransferStop stop;
  SlideSink sink;
  bool succeeded = false;
  WaitableEvent done{WaitableEvent::Reset::kManual};
};

SlideSource::SlideSource(std::vector<ResourceBitmap> start_pictures, std::string base_address,
                         std::string extension, double scale_factor, SlideRetryPacing pacing)
    : base_address_(std::move(base_address)),
      extension_(std::move(extension)),
      scale_factor_(scale_factor),
      pacing_(pacing),
      start_count_(start_pictures.size()),
      pictures_(std::move(start_pictures)),
      rotation_(static_cast<int>(pictures_.size())) {
  if (!thread_.Start([this] { DownloadLoop(); })) running_ = false;
}

SlideSource::~SlideSource() {
  running_ = false;
  stop_.Signal();
  // Every wait of the download thread watches the stop.
  thread_.Join();
  if (!transfer_thread_.joinable()) return;
  transfer_->stop.Request();
  if (transfer_->done.Wait(kSlideTransferEndWaitMs)) {
    transfer_thread_.join();
    return;
  }
  LOG(WARNING) << "A closed slide download did not end within " << kSlideTransferEndWaitMs
               << " ms; it ends by itself: " << transfer_->address;
  transfer_thread_.detach();
}

ResourceBitmap SlideSource::Next(int index) {
  std::lock_guard<std::mutex> guard(list_lock_);
  const int slot = rotation_.Pick(index, static_cast<int>(pictures_.size()));
  return slot < 0 ? ResourceBitmap() : pictures_[slot];
}

size_t SlideSource::picture_count() {
  std::lock_guard<std::mutex> guard(list_lock_);
  return pictures_.size();
}

bool SlideSource::Pause(DWORD ms) { return !stop_.Wait(ms) && running_; }

void SlideSource::DownloadLoop() {
  int failures = 0;
  while (running_) {
    int number;
    size_t held;
    {
      std::lock_guard<std::mutex> guard(list_lock_);
      held = pictures_.size();
      number = rotation_.NextNumber(static_cast<int>(held));
    }
    if (held - start_count_ >= static_cast<size_t>(kMaxDownloadedSlides)) {
      LOG(INFO) << "Slide downloads end with the " << kMaxDownloadedSlides
                << " slides the progress screen holds";
      running_ = false;
      break;
    }
    ResourceBitmap picture;
    if (DownloadImage(SlideAddress(base_address_, number, extension_), &picture)) {
      std::lock_guard<std::mutex> guard(list_lock_);
      pictures_.push_back(std::move(picture));
      failures = 0;
    } else if (running_ && ++failures >= kSlideFailureLimit) {
      running_ = false;
    } else if (!Pause(SlideRetryPauseMs(failures, pacing_))) {
      break;
    }
  }
}

bool SlideSource::EndTransfer() {
  const HANDLE waits[] = {transfer_->done.handle(), stop_.handle()};
  for (bool logged = false;; logged = true) {
    const int ended = WaitForAny(waits, 2, kSlideDownloadTimeoutMs);
    if (ended == 0) break;
    if (ended == 1) return false;
    // Once: a server that holds the connection would otherwise fill the log.
    if (!logged) {
      LOG_FROM(WARNING, "DownloadImage") << "A closed slide download is still under way: "
                                         << transfer_->address;
    }
  }
  transfer_thread_.join();
  return true;
}

bool SlideSource::DownloadImage(const std::string& address, ResourceBitmap* picture) {
  transfer_ = std::make_shared<SlideTransfer>(address);
  std::shared_ptr<SlideTransfer> transfer = transfer_;
  transfer_thread_ = std::thread([transfer] { transfer->Run(); });
  const HANDLE waits[] = {transfer->done.handle(), stop_.handle()};
  const int ended = WaitForAny(waits, 2, kSlideDownloadTimeoutMs);
  if (ended != 0) {
    if (ended != 1) {
      LOG_FROM(WARNING, "DownloadImage") << "A slide download took longer than "
                                         << kSlideDownloadTimeoutMs << " ms: " << address;
    }
    transfer->stop.Request();
  }
  // No other transfer starts before this one is over.
  if (!EndTransfer()) return false;
  const bool received = ended == 0 && transfer->succeeded;
  const bool too_large = transfer->sink.too_large();
  const std::string body = transfer->sink.Take();
  transfer_.reset();
  transfer.reset();
  if (too_large) {
    LOG_FROM(ERROR, "DownloadImage") << "A slide larger than " << kMaxSlideBytes
                                     << " bytes was refused: " << address;
  }
  if (!received) return false;

  // Nothing reaches the decoder that is not a PNG or JPEG of bounded size.
  const SlideCheck check = CheckSlideBytes(body);
  if (check.verdict != SlideVerdict::kAccepted) {
    std::string size;
    if (check.verdict == SlideVerdict::kTooManyPixels) {
      size = " (" + std::to_string(check.header.width) + " x " +
             std::to_string(check.header.height) + ")";
    }
    LOG_FROM(ERROR, "DownloadImage") << "Refused a background slide downloaded from " << address
                                     << ": " << SlideVerdictText(check.verdict) << size;
    return false;
  }
  // Slides are 2x pictures, decoded here rather than on the window thread.
  *picture = ResourceBitmap::FromEncoded(body, scale_factor_ * 0.5, check.header.width,
                                         check.header.height);
  if (picture->empty()) {
    PLOG_FROM(ERROR, "DownloadImage")
        << "Failed to load a background slide bitmap from data downloaded from " << address;
    return false;
  }
  return true;
}

}  // namespace lite
