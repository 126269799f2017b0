// Pictures of a window as a desktop would show it, written as PNG through
// GDI+.
#ifndef TOOLS_UI_GALLERY_SCREEN_CAPTURE_WIN_H_
#define TOOLS_UI_GALLERY_SCREEN_CAPTURE_WIN_H_

#include <windows.h>

#include <string>

namespace lite {

// |window| with |margin| pixels around it on |backdrop|, its layered owned
// windows (shadows) blended underneath by their alpha and the window itself
// cut to its region. Read from the windows' own surfaces, not the screen,
// so other windows over them do not matter.
bool CaptureWindowToPng(HWND window, int margin, COLORREF backdrop,
                        const std::u16string& png_path);

}  // namespace lite

#endif  // TOOLS_UI_GALLERY_SCREEN_CAPTURE_WIN_H_
