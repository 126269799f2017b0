#include "tools/ui_gallery/screen_capture_win.h"

#include <memory>
#include <vector>

#include "ui/images/gdiplus_win.h"
#include "ui/images/png_encoder_win.h"
#include "ui/layout/scoped_gdi_object_win.h"

namespace lite {
namespace {

// A 32-bit top-down surface with its own DC.
class Surface {
 public:
  Surface(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.reset(CreateCompatibleDC(nullptr));
    if (bitmap_ && dc_) old_ = SelectObject(dc_.get(), bitmap_.get());
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  ~Surface() {
    if (old_) SelectObject(dc_.get(), old_);
  }
  bool valid() const { return old_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bitmap_.get(); }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  const int width_;
  const int height_;
  ScopedBitmap bitmap_;
  ScopedMemoryDc dc_;
  HGDIOBJ old_ = nullptr;
};

// Copies |window|'s own pixels into a new surface.
std::unique_ptr<Surface> WindowPixels(HWND window, const RECT& frame) {
  auto pixels = std::make_unique<Surface>(frame.right - frame.left, frame.bottom - frame.top);
  HDC dc = GetWindowDC(window);
  const bool copied = pixels->valid() && dc &&
                      BitBlt(pixels->dc(), 0, 0, pixels->width(), pixels->height(), dc, 0, 0,
                             SRCCOPY);
  if (dc) ReleaseDC(window, dc);
  return copied ? std::move(pixels) : nullptr;
}

}  // namespace

bool CaptureWindowToPng(HWND window, int margin, COLORREF backdrop, const ShadowPainter& shadow,
                        const std::u16string& png_path) {
  RECT frame;
  GetWindowRect(window, &frame);
  RECT area = frame;
  InflateRect(&area, margin, margin);
  Surface canvas(area.right - area.left, area.bottom - area.top);
  if (!canvas.valid()) return false;
  {
    ScopedBrush brush(CreateSolidBrush(backdrop));
    const RECT all = {0, 0, canvas.width(), canvas.height()};
    FillRect(canvas.dc(), &all, brush.get());
  }

  const int x = frame.left - area.left;
  const int y = frame.top - area.top;
  if (shadow) {
    Gdiplus::Bitmap layer(canvas.width(), canvas.height(), PixelFormat32bppPARGB);
    POINT origin;
    {
      Gdiplus::Graphics g(&layer);
      origin = shadow(&g, {frame.right - frame.left, frame.bottom - frame.top});
    }
    Gdiplus::Graphics target(canvas.dc());
    target.DrawImage(&layer, static_cast<INT>(x - origin.x), static_cast<INT>(y - origin.y));
  }

  std::unique_ptr<Surface> pixels = WindowPixels(window, frame);
  if (!pixels) return false;
  ScopedRegion region(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(window, region.get()) != ERROR) {
    OffsetRgn(region.get(), x, y);
    SelectClipRgn(canvas.dc(), region.get());
  }
  BitBlt(canvas.dc(), x, y, pixels->width(), pixels->height(), pixels->dc(), 0, 0, SRCCOPY);
  SelectClipRgn(canvas.dc(), nullptr);

  const std::optional<CLSID> png = PngEncoderClsid();
  if (!png) return false;
  std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromHBITMAP(canvas.bitmap(), nullptr));
  return picture &&
         picture->Save(reinterpret_cast<const wchar_t*>(png_path.c_str()), &*png, nullptr) ==
             Gdiplus::Ok;
}

}  // namespace lite
