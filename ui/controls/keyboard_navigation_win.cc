#include "ui/controls/keyboard_navigation_win.h"

#include "logging/system_error_win.h"
#include "ui/controls/focus_order.h"

namespace lite {
namespace {

// Process-wide, as the hook is: the window thread installs and removes it.
struct HookState {
  HHOOK hook = nullptr;
  HWND install_button = nullptr;
  HWND licence_link = nullptr;
  ArrowFocusToggle toggle;
};

HookState& State() {
  static HookState state;
  return state;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM key, LPARAM lparam) {
  HookState& state = State();
  if (code == HC_ACTION) {
    const HWND focus = GetFocus();
    if ((key == VK_LEFT || key == VK_UP) && focus && focus == state.install_button) {
      if (state.toggle.OnArrow(ArrowDirection::kBackward)) SetFocus(state.licence_link);
    } else if ((key == VK_RIGHT || key == VK_DOWN) && focus && focus == state.licence_link) {
      if (state.toggle.OnArrow(ArrowDirection::kForward)) SetFocus(state.install_button);
    }
  }
  return CallNextHookEx(state.hook, code, key, lparam);
}

}  // namespace

void ApplyTabOrder(HWND parent, const std::vector<int>& ids) {
  HWND previous = HWND_TOP;
  for (int id : ids) {
    const HWND child = GetDlgItem(parent, id);
    if (!child) continue;
    SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = child;
  }
}

bool ArrowKeyHook::Install(HWND install_button, HWND licence_link) {
  HookState& state = State();
  if (state.hook) return false;
  state.hook = SetWindowsHookExW(WH_KEYBOARD, &KeyboardProc, nullptr, GetCurrentThreadId());
  if (!state.hook) {
    PLOG(ERROR) << "SetWindowsHookEx failed";
    return false;
  }
  state.install_button = install_button;
  state.licence_link = licence_link;
  state.toggle = ArrowFocusToggle();
  return true;
}

void ArrowKeyHook::Remove() {
  HookState& state = State();
  if (state.hook) UnhookWindowsHookEx(state.hook);
  state = HookState();
}

bool ArrowKeyHook::installed() { return State().hook != nullptr; }

}  // namespace lite
