// The progress screen's background picture of a theme.
#ifndef UI_IMAGES_PROGRESS_BACKGROUND_WIN_H_
#define UI_IMAGES_PROGRESS_BACKGROUND_WIN_H_

#include <windows.h>

#include "ui/images/resource_bitmap_win.h"
#include "ui/layout/installation_window_theme.h"

namespace lite {

// NewIdentity's picture as it is; for the other designs a window-size
// bitmap of the slide background colour with the theme's picture at its
// bottom-left corner. |window_size| is in screen pixels.
ResourceBitmap BuildProgressBackground(const ThemeSpec& theme, SIZE window_size,
                                       double scale_factor);

}  // namespace lite

#endif  // UI_IMAGES_PROGRESS_BACKGROUND_WIN_H_
