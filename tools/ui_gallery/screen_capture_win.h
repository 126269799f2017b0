// Pictures of what the screen shows, written as PNG through GDI+.
#ifndef TOOLS_UI_GALLERY_SCREEN_CAPTURE_WIN_H_
#define TOOLS_UI_GALLERY_SCREEN_CAPTURE_WIN_H_

#include <windows.h>

#include <string>

namespace lite {

// The screen's pixels inside |area| (clipped to the screen) into |png_path|.
bool CaptureScreenToPng(const RECT& area, const std::u16string& png_path);

}  // namespace lite

#endif  // TOOLS_UI_GALLERY_SCREEN_CAPTURE_WIN_H_
