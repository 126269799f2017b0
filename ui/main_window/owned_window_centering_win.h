// Centres the next window that a system call shows over an installer window
// on it. Wine places the system's proxy prompt at its template's offset from
// the owner's corner, which on the installer's large window is its top left;
// the installer's own dialogs sit in the middle of the window they belong to.
#ifndef UI_MAIN_WINDOW_OWNED_WINDOW_CENTERING_WIN_H_
#define UI_MAIN_WINDOW_OWNED_WINDOW_CENTERING_WIN_H_

#include <windows.h>

namespace lite {

// While it lives, the first window of this thread owned by |owner| to be
// activated is centred on it (CenterWindow) just before it is.
class ScopedOwnedWindowCentering {
 public:
  explicit ScopedOwnedWindowCentering(HWND owner);
  ScopedOwnedWindowCentering(const ScopedOwnedWindowCentering&) = delete;
  ScopedOwnedWindowCentering& operator=(const ScopedOwnedWindowCentering&) = delete;
  ~ScopedOwnedWindowCentering();

  // Whether a window has been centred.
  bool centred() const { return centred_; }

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wparam, LPARAM lparam);

  HWND owner_;
  HHOOK hook_ = nullptr;
  bool centred_ = false;
  // The one of this thread before it (nested prompts), put back at the end.
  ScopedOwnedWindowCentering* outer_ = nullptr;
};

}  // namespace lite

#endif  // UI_MAIN_WINDOW_OWNED_WINDOW_CENTERING_WIN_H_
