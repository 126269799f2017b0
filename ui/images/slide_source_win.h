// The progress screen's pictures: the built-in start pictures, then slides
// downloaded one after another by a thread of their own while the browser
// installs.
#ifndef UI_IMAGES_SLIDE_SOURCE_WIN_H_
#define UI_IMAGES_SLIDE_SOURCE_WIN_H_

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/thread_win.h"
#include "base/waitable_event_win.h"
#include "ui/images/resource_bitmap_win.h"
#include "ui/images/slide_retry_pause.h"
#include "ui/images/slide_rotation.h"

namespace lite {

// How long one slide download may take.
inline constexpr DWORD kSlideDownloadTimeoutMs = 5000;
// Failures in a row that end the downloads.
inline constexpr int kSlideFailureLimit = 10;
// How long destruction waits for a transfer whose handles it has closed.
inline constexpr DWORD kSlideTransferEndWaitMs = 1000;

struct SlideTransfer;

class SlideSource {
 public:
  // Starts downloading at once: |base_address| + "x2/02" + |extension|,
  // then 03... Downloaded slides are 2x pictures drawn at
  // |scale_factor| / 2. After a failure the next try waits as |pacing| says.
  SlideSource(std::vector<ResourceBitmap> start_pictures, std::string base_address,
              std::string extension, double scale_factor, SlideRetryPacing pacing = {});
  SlideSource(const SlideSource&) = delete;
  SlideSource& operator=(const SlideSource&) = delete;
  // Stops the downloads: closes the transfer in progress and waits for it
  // at most kSlideTransferEndWaitMs. A WinINet that lets a closed call wait
  // on (Wine's) keeps that transfer past the wait: it is left to end by
  // itself, holding only its own state, and logged.
  ~SlideSource();

  // The picture the slideshow's |index| shows.
  ResourceBitmap Next(int index);

  size_t picture_count();
  // False once the downloads have ended (ten failures in a row, or all the
  // slides it may hold).
  bool is_downloading() const { return running_; }

 private:
  void DownloadLoop();
  // One slide within the time limit; false when it failed, timed out or
  // the source is going away. Only one transfer runs at any time: the one
  // before is over before another starts.
  bool DownloadImage(const std::string& address, ResourceBitmap* picture);
  // Waits until the transfer under way has ended and joins its thread;
  // false when the source goes away first (the destructor ends it then).
  bool EndTransfer();
  // Waits |ms| unless the source is going away first; false then.
  bool Pause(DWORD ms);

  const std::string base_address_;
  const std::string extension_;
  const double scale_factor_;
  const SlideRetryPacing pacing_;
  const size_t start_count_;
  std::atomic<bool> running_{true};
  WaitableEvent stop_{WaitableEvent::Reset::kManual};
  std::mutex list_lock_;
  std::vector<ResourceBitmap> pictures_;
  SlideRotation rotation_;
  // The transfer under way (shared with the thread that runs it) and that
  // thread; used by the download thread only, and by the destructor once
  // that has ended.
  std::shared_ptr<SlideTransfer> transfer_;
  std::thread transfer_thread_;
  Thread thread_;
};

}  // namespace lite

#endif  // UI_IMAGES_SLIDE_SOURCE_WIN_H_
