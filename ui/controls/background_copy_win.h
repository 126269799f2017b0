// The part of the parent's picture that lies under a control: every control
// draws it first so that it looks transparent.
#ifndef UI_CONTROLS_BACKGROUND_COPY_WIN_H_
#define UI_CONTROLS_BACKGROUND_COPY_WIN_H_

#include <windows.h>

#include "ui/images/resource_bitmap_win.h"

namespace lite {

struct BackgroundCopy {
  ResourceBitmap picture;  // shared with the parent
  POINT offset = {0, 0};   // the control's position in the parent's client area
  // Where the parent shows only the inside of the picture (a classic
  // dialog's shadow margins), the margins in screen pixels.
  RECT margins = {0, 0, 0, 0};
  // Non-zero when the parent stretches the picture's inside over an area of
  // this size (the redesigned dialogs).
  SIZE stretched_to = {0, 0};

  // Draws the part under a control of |width| x |height| at (0, 0) of |dc|.
  void Draw(HDC dc, int width, int height) const;
};

// The control's position in its parent's client area.
POINT OffsetInParent(HWND control);

}  // namespace lite

#endif  // UI_CONTROLS_BACKGROUND_COPY_WIN_H_
