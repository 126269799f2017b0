// The progress bar drawn from two pictures as wide as the bar: the fill up
// to the position and the track after it.
#ifndef UI_CONTROLS_CUSTOM_PROGRESS_BAR_WIN_H_
#define UI_CONTROLS_CUSTOM_PROGRESS_BAR_WIN_H_

#include <windows.h>

#include <memory>
#include <optional>

#include "ui/controls/accessible_proxy_win.h"
#include "ui/controls/background_copy_win.h"
#include "ui/dialog_window_win.h"
#include "ui/images/resource_bitmap_win.h"

namespace lite {

class CustomProgressBar : public DialogWindow {
 public:
  // Subclasses |window| (msctls_progress32); its accessible role is a
  // progress bar and its value the position in percent.
  explicit CustomProgressBar(HWND window);
  ~CustomProgressBar() override;

  // With a background the bar is painted double-buffered over it.
  void SetPictures(ResourceBitmap fill, ResourceBitmap track,
                   std::optional<BackgroundCopy> background);
  void SetRange(int low, int high);
  void SetPos(int position);
  int GetPos() const;
  AccessibleProxy& accessible() { return *accessible_; }

 protected:
  bool ProcessWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                            LRESULT* result) override;

 private:
  void Paint(HDC dc, const RECT& client) const;

  ResourceBitmap fill_;
  ResourceBitmap track_;
  std::optional<BackgroundCopy> background_;
  std::unique_ptr<AccessibleProxy, AccessibleProxyDeleter> accessible_;
};

}  // namespace lite

#endif  // UI_CONTROLS_CUSTOM_PROGRESS_BAR_WIN_H_
