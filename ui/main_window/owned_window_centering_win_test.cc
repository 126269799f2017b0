// The system prompt's placement over the installer window: the first window
// owned by the installer window to be activated is moved to its middle, and
// nothing else is moved.
#include "ui/main_window/owned_window_centering_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace lite {
namespace {

HWND MakePopup(HWND owner, int left, int top, int width, int height) {
  return CreateWindowExW(0, L"STATIC", L"popup", WS_POPUP | WS_BORDER, left, top, width, height,
                         owner, nullptr, GetModuleHandleW(nullptr), nullptr);
}

POINT Centre(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

POINT TopLeft(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return {rect.left, rect.top};
}

class OwnedWindowCenteringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    owner_ = MakePopup(nullptr, 100, 80, 800, 480);
    ASSERT_TRUE(owner_);
    ShowWindow(owner_, SW_SHOW);
  }
  void TearDown() override {
    for (HWND window : {first_, second_, stranger_, owner_}) {
      if (window) DestroyWindow(window);
    }
  }

  HWND owner_ = nullptr;
  HWND first_ = nullptr;
  HWND second_ = nullptr;
  HWND stranger_ = nullptr;
};

TEST_F(OwnedWindowCenteringTest, FirstOwnedWindowShownIsCentredOnItsOwner) {
  {
    ScopedOwnedWindowCentering centering(owner_);
    // Another program's style of window: not owned by the installer window.
    stranger_ = MakePopup(nullptr, 10, 20, 200, 100);
    ShowWindow(stranger_, SW_SHOW);
    EXPECT_FALSE(centering.centred());
    first_ = MakePopup(owner_, 150, 110, 320, 240);
    ShowWindow(first_, SW_SHOW);
    EXPECT_TRUE(centering.centred());
    second_ = MakePopup(owner_, 160, 120, 100, 50);
    ShowWindow(second_, SW_SHOW);
  }
  const POINT owner_centre = Centre(owner_);
  const POINT first_centre = Centre(first_);
  EXPECT_LE(std::abs(first_centre.x - owner_centre.x), 1);
  EXPECT_LE(std::abs(first_centre.y - owner_centre.y), 1);
  // Only the first: a window the prompt opens in turn stays where it opens.
  EXPECT_EQ(TopLeft(second_).x, 160);
  EXPECT_EQ(TopLeft(second_).y, 120);
  EXPECT_EQ(TopLeft(stranger_).x, 10);
  EXPECT_EQ(TopLeft(stranger_).y, 20);
}

TEST_F(OwnedWindowCenteringTest, NothingMovesOnceTheScopeHasEnded) {
  { ScopedOwnedWindowCentering centering(owner_); }
  first_ = MakePopup(owner_, 150, 110, 320, 240);
  ShowWindow(first_, SW_SHOW);
  EXPECT_EQ(TopLeft(first_).x, 150);
  EXPECT_EQ(TopLeft(first_).y, 110);
}

}  // namespace
}  // namespace lite
