#include "tests/ui/installer_window_win.h"

#include <commctrl.h>

#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
#include "tests/ui/wait_win.h"

namespace lite {
namespace testing {
namespace {

bool IsDialogClass(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, ARRAYSIZE(name));
  return lstrcmpW(name, L"#32770") == 0;
}

struct DialogSearch {
  DWORD process_id;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process_id && IsWindowVisible(window) && IsDialogClass(window)) {
    search->found.push_back(window);
  }
  return TRUE;
}

std::optional<LRESULT> SendWithTimeout(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                       DWORD timeout_ms = kAnswerTimeoutMs) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, timeout_ms, &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

// The message static of a small dialog is its static other than the title.
BOOL CALLBACK FindMessageStatic(HWND child, LPARAM param) {
  wchar_t name[16] = {};
  GetClassNameW(child, name, ARRAYSIZE(name));
  if (lstrcmpiW(name, L"Static") == 0 && GetDlgCtrlID(child) != 107) {
    *reinterpret_cast<HWND*>(param) = child;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> VisibleDialogsOf(DWORD process_id) {
  DialogSearch search{process_id, {}};
  EnumWindows(&CollectDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::optional<InstallerWindow> InstallerWindow::WaitFor(DWORD process_id,
                                                        const std::u16string& caption,
                                                        DWORD timeout_ms) {
  HWND found = nullptr;
  // A process that ended shows no window any more.
  ScopedHandle process(OpenProcess(SYNCHRONIZE, FALSE, process_id));
  WaitUntil(
      [&] {
        if (process.is_valid() && WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) {
          return true;
        }
        for (HWND dialog : VisibleDialogsOf(process_id)) {
          if (WindowText(dialog) == caption) {
            found = dialog;
            return true;
          }
        }
        return false;
      },
      timeout_ms);
  if (!found) return std::nullopt;
  return InstallerWindow(found);
}

RECT InstallerWindow::ScreenRect() const {
  RECT rect = {};
  GetWindowRect(window_, &rect);
  return rect;
}

std::optional<ScreenPixels> InstallerWindow::SettledPicture(DWORD interval_ms,
                                                            DWORD timeout_ms) const {
  std::optional<ScreenPixels> last;
  std::optional<ScreenPixels> settled;
  WaitUntil(
      [&] {
        std::optional<ScreenPixels> now = CaptureScreen(ScreenRect());
        if (now && last && now->SameShare(*last) == 1.0) settled = now;
        last = std::move(now);
        return settled.has_value() || !IsVisible();
      },
      timeout_ms, interval_ms);
  return settled ? settled : last;
}

bool InstallerWindow::IsControlVisible(int id) const {
  const HWND control = Control(id);
  return control && IsWindowVisible(control);
}

std::u16string InstallerWindow::Text(int id) const {
  const HWND control = Control(id);
  return control ? WindowText(control) : std::u16string();
}

bool InstallerWindow::PostCommand(int id) const {
  return PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0) != FALSE;
}

bool InstallerWindow::Click(int id) const {
  const HWND control = Control(id);
  return control && PostMessageW(control, BM_CLICK, 0, 0) != FALSE;
}

bool InstallerWindow::PressKey(UINT virtual_key) const {
  const UINT scan_code = MapVirtualKeyW(virtual_key, MAPVK_VK_TO_VSC);
  return PostMessageW(window_, WM_KEYDOWN, virtual_key, 1 | (scan_code << 16)) &&
         PostMessageW(window_, WM_KEYUP, virtual_key, 1 | (scan_code << 16) | 0xC0000000u);
}

std::optional<bool> InstallerWindow::IsChecked(int id) const {
  const HWND control = Control(id);
  if (!control) return std::nullopt;
  const std::optional<LRESULT> state = SendWithTimeout(control, BM_GETCHECK, 0, 0);
  if (!state) return std::nullopt;
  return *state == BST_CHECKED;
}

std::optional<int> InstallerWindow::ProgressPosition() const {
  const HWND bar = Control(215);
  if (!bar) return std::nullopt;
  const std::optional<LRESULT> position = SendWithTimeout(bar, PBM_GETPOS, 0, 0);
  if (!position) return std::nullopt;
  return static_cast<int>(*position);
}

std::optional<LRESULT> InstallerWindow::SendRegistered(const wchar_t* name, WPARAM wparam,
                                                       DWORD timeout_ms) const {
  const UINT message = RegisterWindowMessageW(name);
  if (!message) return std::nullopt;
  return SendWithTimeout(window_, message, wparam, 0, timeout_ms);
}

bool InstallerWindow::PostRegistered(const wchar_t* name, WPARAM wparam) const {
  const UINT message = RegisterWindowMessageW(name);
  return message && PostMessageW(window_, message, wparam, 0);
}

InstallerDialog ReadInstallerDialog(HWND dialog) {
  InstallerDialog texts;
  texts.hwnd = dialog;
  texts.title = WindowText(GetDlgItem(dialog, 107));
  HWND message = nullptr;
  EnumChildWindows(dialog, &FindMessageStatic, reinterpret_cast<LPARAM>(&message));
  if (message) texts.message = WindowText(message);
  texts.button1 = WindowText(GetDlgItem(dialog, 1));
  const HWND second = GetDlgItem(dialog, 212);
  if (second && IsWindowVisible(second)) texts.button2 = WindowText(second);
  return texts;
}

std::u16string WindowText(HWND window) {
  if (!window) return std::u16string();
  wchar_t buffer[2048] = {};
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, ARRAYSIZE(buffer),
                           reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, kAnswerTimeoutMs,
                           &length)) {
    return std::u16string();
  }
  return FromWide(buffer, length < ARRAYSIZE(buffer) ? length : ARRAYSIZE(buffer) - 1);
}

}  // namespace testing
}  // namespace lite
