#include "ui/layout/window_shape_win.h"

#include "ui/layout/centering.h"
#include "ui/layout/scale.h"

namespace lite {
namespace {

Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

void ShapeWindow(HWND window, int width, int height, int corner_radius, double scale_factor) {
  SetWindowPos(window, nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (corner_radius == 0) return;
  const int ellipse = 2 * Scale(scale_factor, corner_radius);
  HRGN region = CreateRoundRectRgn(0, 0, width, height, ellipse, ellipse);
  // The window owns the region from here on; it is freed only on failure.
  if (region && !SetWindowRgn(window, region, TRUE)) DeleteObject(region);
}

void CenterWindow(HWND window) {
  HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info = {sizeof(info)};
  GetMonitorInfoW(monitor, &info);
  Rect work_area = FromRECT(info.rcWork);
  RECT frame;
  GetWindowRect(window, &frame);

  Rect reference = work_area;
  const bool child = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
  if (child) {
    HWND parent = GetParent(window);
    RECT client;
    GetClientRect(parent, &client);
    // Child positions are in the parent's client coordinates.
    reference = work_area = FromRECT(client);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&frame), 2);
  } else {
    HWND owner = GetWindow(window, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
      RECT owner_frame;
      GetWindowRect(owner, &owner_frame);
      reference = FromRECT(owner_frame);
    }
  }
  const Rect placed = CenterRect(FromRECT(frame), reference, work_area);
  SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lite
