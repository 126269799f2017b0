// Size, rounded outline and position of an installer window.
#ifndef UI_LAYOUT_WINDOW_SHAPE_WIN_H_
#define UI_LAYOUT_WINDOW_SHAPE_WIN_H_

#include <windows.h>

namespace lite {

// Sizes |window| to |width| x |height| screen pixels; a non-zero
// |corner_radius| (logical pixels) rounds its corners with a region whose
// ellipse is 2 x the scaled radius.
void ShapeWindow(HWND window, int width, int height, int corner_radius, double scale_factor);

// Centres a top-level window on its owner when that is visible and not
// minimised, else on the work area of the nearest monitor; a child window
// on its parent's client area. The window stays inside the work area.
void CenterWindow(HWND window);

}  // namespace lite

#endif  // UI_LAYOUT_WINDOW_SHAPE_WIN_H_
