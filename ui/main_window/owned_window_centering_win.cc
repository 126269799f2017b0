#include "ui/main_window/owned_window_centering_win.h"

#include "logging/log_message.h"
#include "logging/system_error_win.h"
#include "ui/layout/window_shape_win.h"

namespace lite {
namespace {

// A thread hook has no context of its own: the centring in force on the
// thread that installed it.
thread_local ScopedOwnedWindowCentering* t_centering = nullptr;

}  // namespace

ScopedOwnedWindowCentering::ScopedOwnedWindowCentering(HWND owner) : owner_(owner) {
  if (!owner_) return;
  hook_ = SetWindowsHookExW(WH_CBT, &HookProc, nullptr, GetCurrentThreadId());
  if (!hook_) {
    PLOG(WARNING) << "SetWindowsHookEx(WH_CBT) failed; the prompt stays where it opens";
    return;
  }
  outer_ = t_centering;
  t_centering = this;
}

ScopedOwnedWindowCentering::~ScopedOwnedWindowCentering() {
  if (!hook_) return;
  UnhookWindowsHookEx(hook_);
  t_centering = outer_;
}

LRESULT CALLBACK ScopedOwnedWindowCentering::HookProc(int code, WPARAM wparam, LPARAM lparam) {
  ScopedOwnedWindowCentering* centering = t_centering;
  if (code == HCBT_ACTIVATE && centering && !centering->centred_) {
    const HWND activated = reinterpret_cast<HWND>(wparam);
    if (GetWindow(activated, GW_OWNER) == centering->owner_) {
      CenterWindow(activated);
      centering->centred_ = true;
    }
  }
  return CallNextHookEx(centering ? centering->hook_ : nullptr, code, wparam, lparam);
}

}  // namespace lite
