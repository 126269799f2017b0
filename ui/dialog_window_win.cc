#include "ui/dialog_window_win.h"

#include <windowsx.h>

#include <map>
#include <mutex>

namespace lite {
namespace {

// The main window's thread and, while it shows an error dialog, the engine's
// thread create windows, so the map is guarded; no lock is held while a
// window handles a message.
struct WindowMap {
  std::mutex lock;
  std::map<HWND, DialogWindow*> windows;
};

WindowMap& Windows() {
  static WindowMap* const map = new WindowMap;  // lives until the process ends
  return *map;
}

DialogWindow* Lookup(HWND window) {
  WindowMap& map = Windows();
  std::lock_guard<std::mutex> guard(map.lock);
  auto it = map.windows.find(window);
  return it == map.windows.end() ? nullptr : it->second;
}

}  // namespace

DialogWindow::DialogWindow(HINSTANCE module)
    : module_(module), move_window_message_(RegisterWindowMessageW(L"tolvar.lite.move_window")) {}

DialogWindow::~DialogWindow() { Detach(); }

int DialogWindow::GetDialogTemplateId() const { return 100; }

INT_PTR DialogWindow::RunModal(HWND owner) {
  if (hwnd_) Detach();
  if (!owner) owner = GetActiveWindow();
  return DialogBoxParamW(module_, MAKEINTRESOURCEW(GetDialogTemplateId()), owner, &DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

bool DialogWindow::Subclass(HWND window) {
  if (hwnd_ || !IsWindow(window)) return false;
  return Attach(window);
}

bool DialogWindow::Attach(HWND window) {
  {
    WindowMap& map = Windows();
    std::lock_guard<std::mutex> guard(map.lock);
    map.windows[window] = this;
  }
  hwnd_ = window;
  old_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  if (!old_proc_) {
    Detach();
    return false;
  }
  return true;
}

void DialogWindow::Detach() {
  if (!hwnd_) return;
  if (old_proc_ && IsWindow(hwnd_) &&
      GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc)) {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_proc_));
  }
  {
    WindowMap& map = Windows();
    std::lock_guard<std::mutex> guard(map.lock);
    auto it = map.windows.find(hwnd_);
    if (it != map.windows.end() && it->second == this) map.windows.erase(it);
  }
  hwnd_ = nullptr;
  old_proc_ = nullptr;
  dragging_ = false;
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND window, UINT message, WPARAM wparam,
                                          LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<DialogWindow*>(lparam);
    if (!self || !self->Attach(window)) return FALSE;
    LRESULT ignored = 0;
    self->ProcessWindowMessage(window, WM_INITDIALOG, wparam, lparam, &ignored);
    return FALSE;
  }
  DialogWindow* self = Lookup(window);
  if (self) self->HandleDrag(message, wparam, lparam);
  return FALSE;
}

bool DialogWindow::HandleDrag(UINT message, WPARAM wparam, LPARAM lparam) {
  POINT cursor = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  switch (message) {
    case WM_LBUTTONDOWN:
      ClientToScreen(hwnd_, &cursor);
      dragging_ = true;
      last_cursor_ = cursor;
      SetCapture(hwnd_);
      return true;
    case WM_MOUSEMOVE: {
      if (!dragging_) return false;
      ClientToScreen(hwnd_, &cursor);
      RECT frame;
      GetWindowRect(hwnd_, &frame);
      MoveWindow(hwnd_, frame.left + cursor.x - last_cursor_.x,
                 frame.top + cursor.y - last_cursor_.y, frame.right - frame.left,
                 frame.bottom - frame.top, TRUE);
      last_cursor_ = cursor;
      LRESULT ignored = 0;
      ProcessWindowMessage(hwnd_, move_window_message_, wparam, lparam, &ignored);
      return true;
    }
    case WM_LBUTTONUP:
      ReleaseCapture();
      dragging_ = false;
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK DialogWindow::SubclassProc(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  DialogWindow* self = Lookup(window);
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  // Kept before the call: the object may detach itself while it handles the
  // message.
  const WNDPROC old_proc = self->old_proc_;
  LRESULT result = 0;
  if (!self->ProcessWindowMessage(window, message, wparam, lparam, &result)) {
    result = old_proc ? CallWindowProcW(old_proc, window, message, wparam, lparam)
                      : DefWindowProcW(window, message, wparam, lparam);
  }
  // An ended window's handle may later be given to another window.
  if (message == WM_NCDESTROY && Lookup(window) == self) self->Detach();
  return result;
}

}  // namespace lite
