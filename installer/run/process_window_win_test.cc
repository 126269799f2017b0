#include "installer/run/process_window_win.h"

#include <gtest/gtest.h>

#include "base/utf.h"
#include "base/waitable_event_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

constexpr wchar_t kMainTitle[] = L"tl test window";

// Shows a top-level window, and above it the kinds of windows an installer
// also has (a shadow it owns, a hidden one), says so, and pumps messages
// until told to stop.
int ShowWindowAndWait(const std::vector<std::u16string>& args) {
  HWND window = CreateWindowExW(0, L"STATIC", kMainTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                200, 100, nullptr, nullptr, nullptr, nullptr);
  if (!window) return 1;
  HWND shadow = CreateWindowExW(0, L"STATIC", L"tl shadow", WS_POPUP | WS_VISIBLE, 0, 0, 220, 120,
                                window, nullptr, nullptr, nullptr);
  HWND hidden = CreateWindowExW(0, L"STATIC", L"tl hidden", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
  if (!shadow || !hidden) return 1;
  WaitableEvent(WaitableEvent::Reset::kManual, false, args.at(0)).Signal();
  WaitableEvent stop(WaitableEvent::Reset::kManual, false, args.at(1));
  const HANDLE handles[] = {stop.handle()};
  for (;;) {
    if (MsgWaitForMultipleObjects(1, handles, FALSE, 30000, QS_ALLINPUT) != WAIT_OBJECT_0 + 1) {
      break;
    }
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  DestroyWindow(hidden);
  DestroyWindow(window);
  return 0;
}
TL_CHILD_PROCESS("show-window", ShowWindowAndWait);

TEST(ProcessWindowTest, BringsTheOtherProcessWindowToTheFront) {
  const std::u16string suffix = UTF8ToUTF16(std::to_string(GetCurrentProcessId()));
  WaitableEvent shown(WaitableEvent::Reset::kManual, false, u"Local\\tl-shown-" + suffix);
  WaitableEvent stop(WaitableEvent::Reset::kManual, false, u"Local\\tl-stop-" + suffix);
  Process child = testing::StartChild(
      "show-window", {u"Local\\tl-shown-" + suffix, u"Local\\tl-stop-" + suffix});
  ASSERT_TRUE(child.is_valid());
  ASSERT_TRUE(shown.Wait(30000));

  // A window of this process takes the front first.
  HWND mine = CreateWindowExW(0, L"STATIC", L"mine", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              100, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(mine, nullptr);
  SetForegroundWindow(mine);

  // The window a user knows, not the ones made after it.
  BringProcessWindowToTop(child.id());
  EXPECT_EQ(GetForegroundWindow(), FindWindowW(L"Static", kMainTitle));

  stop.Signal();
  int code = -1;
  EXPECT_TRUE(child.WaitForExit(30000, &code));
  EXPECT_EQ(code, 0);
  DestroyWindow(mine);
}

TEST(ProcessWindowTest, RegisteredMessagesPassTheFilter) {
  HWND window = CreateWindowExW(0, L"STATIC", L"filter", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10,
                                nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const UINT message = RegisterWindowMessageW(L"tolvar.lite.set_install_progress");
  EXPECT_TRUE(AllowMessageThroughFilter(window, message));
  DestroyWindow(window);
}

}  // namespace
}  // namespace lite
