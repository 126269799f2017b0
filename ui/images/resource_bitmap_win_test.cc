#include "ui/images/resource_bitmap_win.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include <wrl/client.h>

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

// |bitmap| encoded by GDI+'s encoder for |mime_type|; empty when there is
// none.
std::string Encode(Gdiplus::Bitmap* bitmap, const wchar_t* mime_type) {
  UINT count = 0;
  UINT size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return {};
  std::vector<char> buffer(size);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return {};
  std::optional<CLSID> clsid;
  for (UINT i = 0; i < count; ++i) {
    if (wcscmp(encoders[i].MimeType, mime_type) == 0) clsid = encoders[i].Clsid;
  }
  Microsoft::WRL::ComPtr<IStream> stream;
  if (!clsid || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
      bitmap->Save(stream.Get(), &*clsid, nullptr) != Gdiplus::Ok) {
    return {};
  }
  STATSTG stat = {};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return {};
  std::string bytes(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
  ULONG read = 0;
  const LARGE_INTEGER start = {};
  if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
      FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read))) {
    return {};
  }
  bytes.resize(read);
  return bytes;
}

// A downloaded picture is decoded when it is made, and only a PNG or JPEG of
// the size its header gave comes out; what comes out draws its own pixels.
TEST_F(ResourceBitmapTest, EncodedPicturesAreDecodedAtOnceWhenPngOrJpegOfTheirSize) {
  Gdiplus::Bitmap source(8, 4, PixelFormat32bppARGB);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) {
      source.SetPixel(x, y, x < 4 ? Gdiplus::Color(255, 200, 0, 0) : Gdiplus::Color(255, 0, 0, 200));
    }
  }
  const std::string png = Encode(&source, L"image/png");
  const std::string bmp = Encode(&source, L"image/bmp");
  ASSERT_FALSE(png.empty());
  ASSERT_FALSE(bmp.empty());

  const ResourceBitmap picture = ResourceBitmap::FromEncoded(png, 0.5, 8, 4);
  ASSERT_FALSE(picture.empty());
  EXPECT_EQ(picture.Width(), 4);
  EXPECT_EQ(picture.Height(), 2);
  Dib target(8, 4);
  target.Fill({0, 0, 8, 4}, RGB(0, 255, 0));
  picture.DrawAll(target.dc, {0, 0, 8, 4});
  EXPECT_EQ(target.At(1, 1), RGB(200, 0, 0));
  EXPECT_EQ(target.At(6, 2), RGB(0, 0, 200));

  const struct {
    const char* what;
    std::string bytes;
    uint32_t width;
    uint32_t height;
  } refused[] = {
      {"another size than the header's", png, 9, 4},
      {"a bitmap, which GDI+ decodes too", bmp, 8, 4},
      {"a PNG cut short", png.substr(0, png.size() / 2), 8, 4},
      {"nothing", "", 8, 4},
      {"not a picture", "not a picture", 10, 10},
  };
  for (const auto& r : refused) {
    EXPECT_TRUE(ResourceBitmap::FromEncoded(r.bytes, 1.0, r.width, r.height).empty()) << r.what;
  }
}

}  // namespace
}  // namespace lite
