// The class id of GDI+'s PNG encoder, for saving pictures with
// Gdiplus::Image::Save. GDI+ must be started.
#ifndef UI_IMAGES_PNG_ENCODER_WIN_H_
#define UI_IMAGES_PNG_ENCODER_WIN_H_

#include <windows.h>

#include <optional>

namespace lite {

// Nothing when GDI+ lists no PNG encoder.
std::optional<CLSID> PngEncoderClsid();

}  // namespace lite

#endif  // UI_IMAGES_PNG_ENCODER_WIN_H_
