// Owner of a window that may be let go on another thread than the one that
// created it.
#ifndef BASE_SCOPED_WINDOW_WIN_H_
#define BASE_SCOPED_WINDOW_WIN_H_

#include <windows.h>

#include "base/scoped_handle_win.h"

namespace lite {

// DestroyWindow refuses windows of other threads, so from those the window
// is asked to close; its own thread's message loop then destroys it.
struct WindowTraits {
  static HWND Invalid() { return nullptr; }
  static bool IsValid(HWND window) { return window != nullptr; }
  static void Close(HWND window) {
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
      DestroyWindow(window);
    } else {
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
  }
};
using ScopedWindow = ScopedGeneric<WindowTraits>;

}  // namespace lite

#endif  // BASE_SCOPED_WINDOW_WIN_H_
