#include "installer/run/process_window_win.h"

#include "base/proc_address_win.h"
#include "base/windows_version_win.h"
#include "logging/system_error_win.h"

namespace lite {
namespace {

struct WindowSearch {
  DWORD process_id;
  HWND first = nullptr;  // the process's first window in z-order
  HWND main = nullptr;   // its first shown window that no other window owns
};

// Windows a process owns (a shadow) and hidden ones (input method windows)
// lie above its main window in z-order: the main window is the one to bring
// forward, the first window only when none is shown.
BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process_id) return TRUE;
  if (!search->first) search->first = window;
  if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
  search->main = window;
  return FALSE;
}

// Foreground rules refuse a background process; sharing the input state of
// the foreground thread is the polite way round them.
bool BringToFrontWithAttachedInput(HWND window) {
  const DWORD window_thread = GetWindowThreadProcessId(window, nullptr);
  const DWORD foreground_thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  if (!AttachThreadInput(window_thread, foreground_thread, TRUE)) return false;
  BringWindowToTop(window);
  SetForegroundWindow(window);
  AttachThreadInput(window_thread, foreground_thread, FALSE);
  return GetForegroundWindow() == window;
}

void BringToFrontWithoutLockTimeout(HWND window) {
  DWORD timeout = 0;
  SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
  BringWindowToTop(window);
  SetForegroundWindow(window);
  SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<void*>(static_cast<ULONG_PTR>(timeout)),
                        SPIF_SENDCHANGE);
}

using ChangeWindowMessageFilterExFunction = BOOL(WINAPI*)(HWND, UINT, DWORD,
                                                          PCHANGEFILTERSTRUCT);
using ChangeWindowMessageFilterFunction = BOOL(WINAPI*)(UINT, DWORD);

}  // namespace

void BringProcessWindowToTop(uint32_t process_id) {
  if (process_id == 0) {
    PLOG(ERROR) << "Failed to bring process window to top: wrong process id";
    return;
  }
  WindowSearch search = {process_id};
  EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&search));
  const HWND window = search.main ? search.main : search.first;
  if (!window) return;
  if (!BringToFrontWithAttachedInput(window)) BringToFrontWithoutLockTimeout(window);
}

bool AllowMessageThroughFilter(HWND window, UINT message) {
  const WindowsVersion& version = GetWindowsVersion();
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (version.IsWin7OrLater()) {
    auto change = GetProcAddressAs<ChangeWindowMessageFilterExFunction>(
        user32, "ChangeWindowMessageFilterEx");
    return change && change(window, message, MSGFLT_ALLOW, nullptr) == TRUE;
  }
  if (version.IsVistaOrLater()) {
    auto change = GetProcAddressAs<ChangeWindowMessageFilterFunction>(
        user32, "ChangeWindowMessageFilter");
    return change && change(message, MSGFLT_ADD) == TRUE;
  }
  return true;
}

}  // namespace lite
