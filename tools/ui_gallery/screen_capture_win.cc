#include "tools/ui_gallery/screen_capture_win.h"

#include <memory>
#include <vector>

#include "ui/images/gdiplus_win.h"
#include "ui/layout/scoped_gdi_object_win.h"

namespace lite {
namespace {

bool PngEncoder(CLSID* clsid) {
  UINT count = 0;
  UINT size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<char> buffer(size);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (wcscmp(encoders[i].MimeType, L"image/png") == 0) {
      *clsid = encoders[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

bool CaptureScreenToPng(const RECT& area, const std::u16string& png_path) {
  RECT clipped;
  const RECT screen_rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (!IntersectRect(&clipped, &area, &screen_rect)) return false;
  const int width = clipped.right - clipped.left;
  const int height = clipped.bottom - clipped.top;

  ScopedScreenDc screen;
  ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  ScopedMemoryDc dc(CreateCompatibleDC(screen.get()));
  if (!bitmap || !dc) return false;
  {
    ScopedSelectObject select(dc.get(), bitmap.get());
    if (!BitBlt(dc.get(), 0, 0, width, height, screen.get(), clipped.left, clipped.top,
                SRCCOPY | CAPTUREBLT)) {
      return false;
    }
  }
  CLSID png;
  if (!PngEncoder(&png)) return false;
  std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromHBITMAP(bitmap.get(), nullptr));
  return picture &&
         picture->Save(reinterpret_cast<const wchar_t*>(png_path.c_str()), &png, nullptr) ==
             Gdiplus::Ok;
}

}  // namespace lite
