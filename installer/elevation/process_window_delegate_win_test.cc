#include "installer/elevation/process_window_delegate_win.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

TEST(ProcessWindowDelegateTest, ProgressIsPostedAndCancelButtonHidden) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_TRUE(window) << "window tests need a display";
  HWND cancel = CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20,
                                window, reinterpret_cast<HMENU>(kCancelButtonId), nullptr,
                                nullptr);
  ASSERT_TRUE(cancel);
  ProcessWindowDelegate delegate(window);
  EXPECT_EQ(delegate.GetWindowHandle(), window);

  delegate.SetProgress(40);
  MSG message = {};
  ASSERT_TRUE(PeekMessageW(&message, window, 0x8064, 0x8064, PM_REMOVE));
  EXPECT_EQ(message.wParam, 40u);
  EXPECT_EQ(message.lParam, 0);

  EXPECT_TRUE(GetWindowLongW(cancel, GWL_STYLE) & WS_VISIBLE);
  delegate.RemoveCancelButton();
  EXPECT_FALSE(GetWindowLongW(cancel, GWL_STYLE) & WS_VISIBLE);
  DestroyWindow(window);
}

TEST(ProcessWindowDelegateTest, NoWindowGetsNoThreadMessage) {
  ProcessWindowDelegate delegate(nullptr);
  delegate.SetProgress(40);
  MSG message = {};
  EXPECT_FALSE(PeekMessageW(&message, reinterpret_cast<HWND>(-1), 0x8064, 0x8064, PM_REMOVE));
}

}  // namespace
}  // namespace lite
