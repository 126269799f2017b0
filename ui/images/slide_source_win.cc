#include "ui/images/slide_source_win.h"

#include <memory>
#include <thread>

#include "logging/system_error_win.h"
#include "net/downloader_win.h"

namespace lite {
namespace {

// One transfer into memory on a thread of its own, so that the slide thread
// can give up on it after the time limit even while WinINet is blocked in a
// call. The state is shared: a transfer given up on finishes by itself.
struct Transfer {
  WaitableEvent done{WaitableEvent::Reset::kManual};
  WaitableEvent cancel{WaitableEvent::Reset::kManual};
  std::string body;
  bool succeeded = false;
};

}  // namespace

SlideSource::SlideSource(std::vector<ResourceBitmap> start_pictures, std::string base_address,
                         std::string extension, double scale_factor)
    : base_address_(std::move(base_address)),
      extension_(std::move(extension)),
      scale_factor_(scale_factor),
      pictures_(std::move(start_pictures)),
      rotation_(static_cast<int>(pictures_.size())) {
  if (!thread_.Start([this] { DownloadLoop(); })) running_ = false;
}

SlideSource::~SlideSource() {
  running_ = false;
  stop_.Signal();
  thread_.Join();
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

void SlideSource::DownloadLoop() {
  int failures = 0;
  while (running_) {
    int number;
    {
      std::lock_guard<std::mutex> guard(list_lock_);
      number = rotation_.NextNumber(static_cast<int>(pictures_.size()));
    }
    ResourceBitmap picture;
    if (DownloadImage(SlideAddress(base_address_, number, extension_), &picture)) {
      std::lock_guard<std::mutex> guard(list_lock_);
      pictures_.push_back(std::move(picture));
      failures = 0;
    } else if (running_ && ++failures >= kSlideFailureLimit) {
      running_ = false;
    }
  }
}

bool SlideSource::DownloadImage(const std::string& address, ResourceBitmap* picture) {
  auto transfer = std::make_shared<Transfer>();
  std::thread([transfer, address] {
    Downloader downloader;
    transfer->succeeded =
        downloader.DownloadToString(address, transfer->cancel.handle(), &transfer->body);
    transfer->done.Signal();
  }).detach();

  const HANDLE waits[] = {transfer->done.handle(), stop_.handle()};
  if (WaitForAny(waits, 2, kSlideDownloadTimeoutMs) != 0) {
    transfer->cancel.Signal();
    return false;
  }
  if (!transfer->succeeded) return false;
  // Slides are 2x pictures.
  *picture = ResourceBitmap::FromEncoded(transfer->body, scale_factor_ * 0.5);
  if (picture->empty()) {
    PLOG_FROM(ERROR, "DownloadImage")
        << "Failed to load a background slide bitmap from data downloaded from " << address;
    return false;
  }
  return true;
}

}  // namespace lite
