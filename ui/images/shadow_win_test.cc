#include "ui/images/shadow_win.h"

#include <gtest/gtest.h>

#include "ui/images/gdiplus_win.h"

namespace lite {
namespace {

class ShadowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    main_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100,
                            nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(main_);
    // Pictures made here: grey squares standing in for the theme's.
    HDC screen = GetDC(nullptr);
    HBITMAP square = CreateCompatibleBitmap(screen, 24, 24);
    ReleaseDC(nullptr, screen);
    for (ResourceBitmap& corner : pictures_.corners) corner = ResourceBitmap::FromHBITMAP(square);
    for (ResourceBitmap& edge : pictures_.edges) edge = ResourceBitmap::FromHBITMAP(square);
    DeleteObject(square);
  }
  void TearDown() override {
    DestroyWindow(main_);  // destroys the owned shadows too
    Gdiplus::GdiplusShutdown(token_);
  }

  static RECT Frame(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
  }

  ULONG_PTR token_ = 0;
  HWND main_ = nullptr;
  ShadowPictures pictures_;
};

TEST_F(ShadowTest, MainShadowSurroundsTheWindowAndFollowsIt) {
  struct Case {
    WindowDesign design;
    double scale;
    int d;
    bool visible;
  } const cases[] = {
      {WindowDesign::kFacetune, 1.0, 8, false},
      {WindowDesign::kNewIdentity, 1.5, 12, false},
      {WindowDesign::kOrigin, 1.25, 10, true},
  };
  for (const Case& c : cases) {
    HWND shadow = nullptr;
    const MainShadowParams params = {c.design, WindowsRelease::kWin10, c.scale, 1};
    BuildMainShadow(&shadow, main_, pictures_, ResourceBitmap(), params);
    ASSERT_TRUE(shadow);
    EXPECT_EQ(GetWindow(shadow, GW_OWNER), main_);
    EXPECT_EQ(IsWindowVisible(shadow) != FALSE, c.visible);
    EXPECT_TRUE(GetWindowLongW(shadow, GWL_EXSTYLE) & WS_EX_LAYERED);
    RECT r = Frame(shadow);
    EXPECT_EQ(r.left, 100 - c.d);
    EXPECT_EQ(r.top, 100 - c.d);
    EXPECT_EQ(r.right, 300 + c.d);
    EXPECT_EQ(r.bottom, 200 + c.d);

    // Built again, the same window is reused.
    HWND again = shadow;
    BuildMainShadow(&again, main_, pictures_, ResourceBitmap(), params);
    EXPECT_EQ(again, shadow);

    SetWindowPos(main_, nullptr, 150, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    MoveShadow(shadow, main_, c.scale);
    r = Frame(shadow);
    EXPECT_EQ(r.left, 150 - c.d);
    EXPECT_EQ(r.bottom, 220 + c.d);
    SetWindowPos(main_, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    DestroyWindow(shadow);
  }
}

TEST_F(ShadowTest, DialogShadowIsCreatedVisible) {
  HWND shadow = nullptr;
  BuildDialogShadow(&shadow, main_, pictures_, WindowsRelease::kWin7, 2.0);
  ASSERT_TRUE(shadow);
  EXPECT_TRUE(IsWindowVisible(shadow));
  const RECT r = Frame(shadow);
  EXPECT_EQ(r.left, 84);
  EXPECT_EQ(r.bottom, 216);
}

}  // namespace
}  // namespace lite
