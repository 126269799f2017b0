#include "tests/ui/screen_pixels_win.h"

#include <cstring>
#include <memory>

#include "base/wide_string_win.h"
#include "tests/ui/wait_win.h"
#include "ui/images/gdiplus_win.h"
#include "ui/images/png_encoder_win.h"
#include "ui/layout/scoped_gdi_object_win.h"

namespace lite {
namespace testing {
namespace {

class ScopedGdiplus {
 public:
  ScopedGdiplus() {
    Gdiplus::GdiplusStartupInput input;
    started_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ScopedGdiplus(const ScopedGdiplus&) = delete;
  ScopedGdiplus& operator=(const ScopedGdiplus&) = delete;
  ~ScopedGdiplus() {
    if (started_) Gdiplus::GdiplusShutdown(token_);
  }
  bool started() const { return started_; }

 private:
  ULONG_PTR token_ = 0;
  bool started_ = false;
};

}  // namespace

double ScreenPixels::SameShare(const ScreenPixels& other) const {
  if (width != other.width || height != other.height || pixels.empty()) return 0;
  size_t same = 0;
  for (size_t i = 0; i < pixels.size(); ++i) same += pixels[i] == other.pixels[i];
  return static_cast<double>(same) / static_cast<double>(pixels.size());
}

ScreenPixels ScreenPixels::Sampled(int step) const {
  ScreenPixels sampled;
  sampled.width = (width + step - 1) / step;
  sampled.height = (height + step - 1) / step;
  sampled.pixels.reserve(static_cast<size_t>(sampled.width) * sampled.height);
  for (int y = 0; y < height; y += step) {
    for (int x = 0; x < width; x += step) sampled.pixels.push_back(pixels[y * width + x]);
  }
  return sampled;
}

std::optional<ScreenPixels> CaptureScreen(const RECT& rect) {
  ScreenPixels shot;
  shot.width = rect.right - rect.left;
  shot.height = rect.bottom - rect.top;
  if (shot.width <= 0 || shot.height <= 0) return std::nullopt;
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB};
  void* bits = nullptr;
  ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  ScopedMemoryDc memory(CreateCompatibleDC(nullptr));
  ScopedScreenDc screen;
  if (!bitmap || !memory || !screen.get()) return std::nullopt;
  {
    ScopedSelectObject select(memory.get(), bitmap.get());
    if (!BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), rect.left, rect.top,
                SRCCOPY)) {
      return std::nullopt;
    }
  }
  GdiFlush();
  shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
  std::memcpy(shot.pixels.data(), bits, shot.pixels.size() * sizeof(uint32_t));
  for (uint32_t& pixel : shot.pixels) pixel &= 0x00FFFFFF;
  return shot;
}

std::optional<ScreenPixels> SettledCapture(const RECT& rect, DWORD interval_ms,
                                           DWORD timeout_ms) {
  std::optional<ScreenPixels> last;
  bool settled = false;
  WaitUntil(
      [&] {
        std::optional<ScreenPixels> now = CaptureScreen(rect);
        settled = now && last && now->SameShare(*last) == 1.0;
        last = std::move(now);
        return settled;
      },
      timeout_ms, interval_ms);
  return last;
}

bool SavePng(const ScreenPixels& shot, const std::u16string& path) {
  ScopedGdiplus gdiplus;
  if (!gdiplus.started()) return false;
  const std::optional<CLSID> png = PngEncoderClsid();
  if (!png) return false;
  std::vector<uint32_t> opaque(shot.pixels);
  for (uint32_t& pixel : opaque) pixel |= 0xFF000000u;
  Gdiplus::Bitmap picture(shot.width, shot.height, shot.width * 4, PixelFormat32bppARGB,
                          reinterpret_cast<BYTE*>(opaque.data()));
  return picture.Save(AsWide(path), &*png, nullptr) == Gdiplus::Ok;
}

}  // namespace testing
}  // namespace lite
