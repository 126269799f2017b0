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

// Opaque pieces leave no pixel of the frame, nor of the classic quadrants,
// less than opaque: a seam between two pieces would show as a light line.
TEST_F(ShadowTest, PiecesJoinWithoutSeams) {
  const SIZE window = {200, 100};
  for (double scale : {1.0, 1.25, 1.5}) {
    SCOPED_TRACE(scale);
    const int d = static_cast<int>(8 * scale);
    Gdiplus::Bitmap frame(window.cx + 2 * d, window.cy + 2 * d, PixelFormat32bppARGB);
    {
      Gdiplus::Graphics g(&frame);
      ComposeMainShadow(&g, window, pictures_, ResourceBitmap(),
                        {WindowDesign::kFacetune, WindowsRelease::kWin10, scale, 1});
    }
    const RECT margins = {7, 4, 6, 8};
    const RECT m = {static_cast<int>(7 * scale), static_cast<int>(4 * scale),
                    static_cast<int>(6 * scale), static_cast<int>(8 * scale)};
    // A dialog smaller than the picture, as the classic dialogs are.
    const SIZE dialog = {16, 10};
    Gdiplus::Bitmap classic(dialog.cx + m.left + m.right, dialog.cy + m.top + m.bottom,
                            PixelFormat32bppARGB);
    {
      Gdiplus::Graphics g(&classic);
      ComposeClassicShadow(&g, dialog, pictures_.corners[0], margins, scale);
    }
    int seams = 0;
    for (Gdiplus::Bitmap* bitmap : {&frame, &classic}) {
      for (UINT y = 0; y < bitmap->GetHeight(); ++y) {
        for (UINT x = 0; x < bitmap->GetWidth(); ++x) {
          const bool inside_window = bitmap == &frame && x >= UINT(d) &&
                                     x < UINT(d + window.cx) && y >= UINT(d) &&
                                     y < UINT(d + window.cy);
          Gdiplus::Color colour;
          bitmap->GetPixel(x, y, &colour);
          if (!inside_window && colour.GetA() != 255) ++seams;
        }
      }
    }
    EXPECT_EQ(seams, 0);
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
