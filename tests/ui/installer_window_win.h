// The installer's windows as a user meets them, driven from another process
// through Win32 messages: the main window (template 901) with its controls
// by id, and the small dialogs (template 100) it shows over it.
#ifndef TESTS_UI_INSTALLER_WINDOW_WIN_H_
#define TESTS_UI_INSTALLER_WINDOW_WIN_H_

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/ui/screen_pixels_win.h"

namespace lite {
namespace testing {

// A message sent to another process's window gets this long to be answered
// before the driver calls the window hung.
inline constexpr DWORD kAnswerTimeoutMs = 10000;

// The visible top-level dialogs (class "#32770") of process |process_id|.
std::vector<HWND> VisibleDialogsOf(DWORD process_id);

// The installer's main window.
class InstallerWindow {
 public:
  explicit InstallerWindow(HWND window) : window_(window) {}

  // Waits up to |timeout_ms| for a visible dialog of |process_id| whose
  // caption is |caption|; nothing when the process ended first.
  static std::optional<InstallerWindow> WaitFor(DWORD process_id, const std::u16string& caption,
                                                DWORD timeout_ms);

  HWND hwnd() const { return window_; }
  bool Exists() const { return IsWindow(window_) != FALSE; }
  bool IsVisible() const { return IsWindowVisible(window_) != FALSE; }
  RECT ScreenRect() const;

  // What the screen shows of the window once it shows the same picture
  // twice in a row |interval_ms| apart: painted, and nothing moving. The
  // last picture when it does not settle within |timeout_ms|.
  std::optional<ScreenPixels> SettledPicture(DWORD interval_ms = 300,
                                             DWORD timeout_ms = 60000) const;

  HWND Control(int id) const { return GetDlgItem(window_, id); }
  bool HasControl(int id) const { return Control(id) != nullptr; }
  bool IsControlVisible(int id) const;
  std::u16string Text(int id) const;

  // WM_COMMAND with |id| and notification 0, as the dialog manager sends
  // it for a button or a key; posted, so a modal loop it starts does not
  // hold the driver.
  bool PostCommand(int id) const;
  // BM_CLICK on control |id|: the button presses itself and tells the
  // window, as a mouse click does. Posted for the same reason.
  bool Click(int id) const;
  // A key pressed and released while the window has the focus; the dialog
  // manager turns Esc into command 2 and Enter into the default button.
  bool PressKey(UINT virtual_key) const;

  // BM_GETCHECK of check box |id|; nothing when it gave no answer.
  std::optional<bool> IsChecked(int id) const;
  // PBM_GETPOS of the progress bar; nothing when it gave no answer.
  std::optional<int> ProgressPosition() const;

  // Registered message |name| sent with |wparam|; its result, or nothing
  // when the window did not answer within |timeout_ms|.
  std::optional<LRESULT> SendRegistered(const wchar_t* name, WPARAM wparam,
                                        DWORD timeout_ms = kAnswerTimeoutMs) const;
  bool PostRegistered(const wchar_t* name, WPARAM wparam) const;

 private:
  HWND window_;
};

// The texts of one of the installer's small dialogs.
struct InstallerDialog {
  HWND hwnd = nullptr;
  std::u16string title;    // control 107
  std::u16string message;  // the static without an id
  std::u16string button1;  // control 1
  std::u16string button2;  // control 212, empty when hidden
};
InstallerDialog ReadInstallerDialog(HWND dialog);

// Text of any window of another process, through WM_GETTEXT.
std::u16string WindowText(HWND window);

}  // namespace testing
}  // namespace lite

#endif  // TESTS_UI_INSTALLER_WINDOW_WIN_H_
