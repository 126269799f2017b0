// The progress screen's pictures: the built-in start pictures, then slides
// downloaded one after another by a thread of their own while the browser
// installs.
#ifndef UI_IMAGES_SLIDE_SOURCE_WIN_H_
#define UI_IMAGES_SLIDE_SOURCE_WIN_H_

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "base/thread_win.h"
#include "base/waitable_event_win.h"
#include "ui/images/resource_bitmap_win.h"
#include "ui/images/slide_rotation.h"

namespace lite {

// How long one slide download may take.
inline constexpr DWORD kSlideDownloadTimeoutMs = 5000;
// Failures in a row that end the downloads.
inline constexpr int kSlideFailureLimit = 10;

class SlideSource {
 public:
  // Starts downloading at once: |base_address| + "x2/02" + |extension|,
  // then 03... Downloaded slides are 2x pictures drawn at
  // |scale_factor| / 2.
  SlideSource(std::vector<ResourceBitmap> start_pictures, std::string base_address,
              std::string extension, double scale_factor);
  SlideSource(const SlideSource&) = delete;
  SlideSource& operator=(const SlideSource&) = delete;
  // Stops the downloads and waits for the one in progress (at most about
  // the download time limit).
  ~SlideSource();

  // The picture the slideshow's |index| shows.
  ResourceBitmap Next(int index);

  size_t picture_count();
  // False once the downloads have ended (ten failures in a row).
  bool is_downloading() const { return running_; }

 private:
  void DownloadLoop();
  // One slide within the time limit; false when it failed, timed out or
  // the source is going away.
  bool DownloadImage(const std::string& address, ResourceBitmap* picture);

  const std::string base_address_;
  const std::string extension_;
  const double scale_factor_;
  std::atomic<bool> running_{true};
  WaitableEvent stop_{WaitableEvent::Reset::kManual};
  std::mutex list_lock_;
  std::vector<ResourceBitmap> pictures_;
  SlideRotation rotation_;
  Thread thread_;
};

}  // namespace lite

#endif  // UI_IMAGES_SLIDE_SOURCE_WIN_H_
