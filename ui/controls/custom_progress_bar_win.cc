#include "ui/controls/custom_progress_bar_win.h"

#include <commctrl.h>

#include "ui/controls/memory_canvas_win.h"
#include "ui/controls/progress_bar_geometry.h"

namespace lite {

CustomProgressBar::CustomProgressBar(HWND window) {
  Subclass(window);
  accessible_.reset(AccessibleProxy::Create(window));
  accessible_->set_role(ROLE_SYSTEM_PROGRESSBAR);
}

CustomProgressBar::~CustomProgressBar() { accessible_.reset(); }

void CustomProgressBar::SetPictures(ResourceBitmap fill, ResourceBitmap track,
                                    std::optional<BackgroundCopy> background) {
  fill_ = std::move(fill);
  track_ = std::move(track);
  background_ = std::move(background);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CustomProgressBar::SetRange(int low, int high) {
  SendMessageW(hwnd(), PBM_SETRANGE, 0, MAKELPARAM(low, high));
}

void CustomProgressBar::SetPos(int position) {
  SendMessageW(hwnd(), PBM_SETPOS, position, 0);
  accessible_->SetValueText(position);
}

int CustomProgressBar::GetPos() const {
  return static_cast<int>(SendMessageW(hwnd(), PBM_GETPOS, 0, 0));
}

bool CustomProgressBar::ProcessWindowMessage(HWND window, UINT message, WPARAM, LPARAM,
                                             LRESULT* result) {
  switch (message) {
    case WM_ERASEBKGND:
    case PBM_SETBARCOLOR:
    case PBM_SETBKCOLOR:
      *result = 0;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      if (background_) {
        MemoryCanvas canvas(dc, client);
        if (canvas.ok()) Paint(canvas.dc(), client);
      } else {
        Paint(dc, client);
      }
      EndPaint(window, &paint);
      *result = 0;
      return true;
    }
    default:
      return false;
  }
}

void CustomProgressBar::Paint(HDC dc, const RECT& client) const {
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (background_) background_->Draw(dc, width, height);
  PBRANGE range = {};
  SendMessageW(hwnd(), PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  const ProgressBarSegments segments =
      ComputeProgressBarSegments(width, range.iLow, range.iHigh, GetPos());
  if (segments.fill_width > 0) {
    const RECT part = {0, 0, segments.fill_width, height};
    fill_.Draw(dc, part, part);
  }
  if (segments.track_width > 0) {
    const RECT part = {segments.fill_width, 0, width, height};
    track_.Draw(dc, part, part);
  }
}

}  // namespace lite
