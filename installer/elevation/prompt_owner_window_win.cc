#include "installer/elevation/prompt_owner_window_win.h"

#include "logging/system_error_win.h"

namespace lite {

ScopedWindow CreatePromptOwnerWindow() {
  ScopedWindow window(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE,
                                      0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
  if (!window) {
    PLOG(ERROR) << "Cannot create the prompt's owner window";
    return window;
  }
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromWindow(window.get(), MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& area = monitor.rcMonitor;
    MoveWindow(window.get(), (area.left + area.right) / 2, (area.top + area.bottom) / 2, 0, 0,
               FALSE);
  }
  SetWindowPos(window.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return window;
}

}  // namespace lite
