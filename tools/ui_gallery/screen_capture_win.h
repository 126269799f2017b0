// Pictures of a window as a desktop would show it, written as PNG through
// GDI+.
#ifndef TOOLS_UI_GALLERY_SCREEN_CAPTURE_WIN_H_
#define TOOLS_UI_GALLERY_SCREEN_CAPTURE_WIN_H_

#include <windows.h>

#include <functional>
#include <string>

namespace Gdiplus {
class Graphics;
}  // namespace Gdiplus

namespace lite {

// Draws a window's shadow for a window of the given size; returns where the
// window's top-left corner lies in what it drew.
using ShadowPainter = std::function<POINT(Gdiplus::Graphics*, SIZE)>;

// |window| with |margin| pixels around it on |backdrop|, with the shadow
// |shadow| paints (when given) blended underneath and the window cut to its
// region. Read from the window's own surface, not the screen, so other
// windows over it do not matter. Wine cannot read a layered window's pixels
// back, so the shadow is drawn again by the code that made it.
bool CaptureWindowToPng(HWND window, int margin, COLORREF backdrop, const ShadowPainter& shadow,
                        const std::u16string& png_path);

}  // namespace lite

#endif  // TOOLS_UI_GALLERY_SCREEN_CAPTURE_WIN_H_
