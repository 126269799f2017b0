#include "ui/images/png_encoder_win.h"

#include <cwchar>
#include <vector>

#include "ui/images/gdiplus_win.h"

namespace lite {

std::optional<CLSID> PngEncoderClsid() {
  UINT count = 0;
  UINT size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) {
    return std::nullopt;
  }
  std::vector<char> buffer(size);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return std::nullopt;
  for (UINT i = 0; i < count; ++i) {
    if (wcscmp(encoders[i].MimeType, L"image/png") == 0) return encoders[i].Clsid;
  }
  return std::nullopt;
}

}  // namespace lite
