#include "ui/images/resource_bitmap_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "ui/images/gdiplus_win.h"

namespace lite {
namespace {

class ResourceBitmapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
  }
  void TearDown() override {
    SetGlobalLogger(nullptr);
    Gdiplus::GdiplusShutdown(token_);
  }

  std::vector<LogRecord> records_;

 private:
  ULONG_PTR token_ = 0;
};

// A 32-bit top-down DIB section and its pixels.
struct Dib {
  Dib(int width, int height) : width(width) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits),
                              nullptr, 0);
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, bitmap);
  }
  ~Dib() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  COLORREF At(int x, int y) const {
    const DWORD p = bits[y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  void Fill(const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }

  int width;
  HBITMAP bitmap = nullptr;
  DWORD* bits = nullptr;
  HDC dc = nullptr;
  HGDIOBJ old = nullptr;
};

TEST_F(ResourceBitmapTest, MissingPictureIsEmptyAndLogged) {
  for (double factor : {1.0, 1.5}) {
    const ResourceBitmap bitmap = ResourceBitmap::Load(65001, 65002, factor);
    EXPECT_TRUE(bitmap.empty());
    EXPECT_EQ(bitmap.Width(), 0);
    EXPECT_EQ(bitmap.CeilHeight(), 0);
    Dib target(4, 4);
    target.Fill({0, 0, 4, 4}, RGB(1, 2, 3));
    bitmap.Draw(target.dc, {0, 0, 4, 4}, {0, 0, 4, 4});  // draws nothing
    EXPECT_EQ(target.At(2, 2), RGB(1, 2, 3));
  }
  EXPECT_TRUE(HasRecord(records_, "Failed to load a bitmap", "Load"));
  EXPECT_TRUE(ResourceBitmap::FromEncoded("not a picture", 1.0, 10, 10).empty());
}

TEST_F(ResourceBitmapTest, FromHBITMAPDrawsTheAskedPart) {
  Dib source(8, 4);
  source.Fill({0, 0, 4, 4}, RGB(255, 0, 0));
  source.Fill({4, 0, 8, 4}, RGB(0, 0, 255));
  const ResourceBitmap bitmap = ResourceBitmap::FromHBITMAP(source.bitmap);
  ASSERT_FALSE(bitmap.empty());
  EXPECT_EQ(bitmap.Width(), 8);
  EXPECT_EQ(bitmap.Height(), 4);
  EXPECT_EQ(bitmap.scale(), 1.0);

  // The right half stretched over the whole target, then the left half
  // into the target's top-left quarter (pixels at the seam may blend).
  Dib target(16, 8);
  bitmap.Draw(target.dc, {0, 0, 16, 8}, {4, 0, 8, 4});
  EXPECT_EQ(target.At(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(target.At(15, 7), RGB(0, 0, 255));
  bitmap.Draw(target.dc, {0, 0, 8, 4}, {0, 0, 4, 4});
  EXPECT_EQ(target.At(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(target.At(5, 2), RGB(255, 0, 0));
  EXPECT_EQ(target.At(10, 5), RGB(0, 0, 255));

  // Copies share the picture and outlive the original bitmap's owner.
  const ResourceBitmap copy = bitmap;
  EXPECT_EQ(copy.Width(), 8);
}

TEST_F(ResourceBitmapTest, InvalidHBITMAPIsEmptyAndLogged) {
  EXPECT_TRUE(ResourceBitmap::FromHBITMAP(nullptr).empty());
  EXPECT_TRUE(HasRecord(records_, "Failed to construct a ResourceBitmap from HBITMAP",
                        "ResourceBitmap"));
}

}  // namespace
}  // namespace lite
