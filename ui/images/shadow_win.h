// The layered shadow windows around the borderless main window and the
// dialogs, composed from edge and corner pictures.
#ifndef UI_IMAGES_SHADOW_WIN_H_
#define UI_IMAGES_SHADOW_WIN_H_

#include <windows.h>

#include "ui/images/resource_bitmap_win.h"
#include "ui/layout/installation_window_theme.h"
#include "ui/layout/window_design.h"

namespace Gdiplus {
class Graphics;
}  // namespace Gdiplus

namespace lite {

// Corners top-left, top-right, bottom-right, bottom-left; edges left, top,
// right, bottom.
struct ShadowPictures {
  ResourceBitmap corners[4];
  ResourceBitmap edges[4];
};

ShadowPictures LoadShadowPictures(const ImagePair (&corners)[4], const ImagePair (&edges)[4],
                                  double scale_factor);

// The redesigned dialogs' pictures: 2240..2247 on Windows 8 and later,
// 2248..2255 before.
ShadowPictures LoadDialogShadowPictures(WindowsRelease windows, double scale_factor);

struct MainShadowParams {
  WindowDesign design;
  WindowsRelease windows;
  double scale_factor;
  int shadow_inset;  // the layout's, logical pixels
};

// Creates (when |*shadow| is null) or updates the main window's shadow:
// 8 logical pixels around |main|, the picture's edge bands under the
// rounded corners in NewIdentity on Windows 8 and later. Shown at creation
// only in the Origin design.
void BuildMainShadow(HWND* shadow, HWND main, const ShadowPictures& pictures,
                     const ResourceBitmap& background, const MainShadowParams& params);

// The same for a redesigned dialog: the shadow is created visible and its
// corners are 16 logical pixels larger on Windows 8 and later.
void BuildDialogShadow(HWND* shadow, HWND dialog, const ShadowPictures& pictures,
                       WindowsRelease windows, double scale_factor);

// The classic dialogs' shadow: the dialog's background picture, of which
// the dialog shows the inner part, around it by |margins| (logical pixels).
// Nothing on displays below 32 bits per pixel.
void BuildClassicShadow(HWND* shadow, HWND dialog, const ResourceBitmap& background,
                        const RECT& margins, double scale_factor);

// The pictures the builders above give their shadow windows, drawn onto
// |g| for a window of |window| pixels; the result is where the window's
// top-left corner lies in the picture. For pictures of a whole window with
// its shadow (the gallery), where a layered window's pixels cannot be read
// back.
POINT ComposeMainShadow(Gdiplus::Graphics* g, SIZE window, const ShadowPictures& pictures,
                        const ResourceBitmap& background, const MainShadowParams& params);
POINT ComposeDialogShadow(Gdiplus::Graphics* g, SIZE window, const ShadowPictures& pictures,
                          WindowsRelease windows, double scale_factor);
POINT ComposeClassicShadow(Gdiplus::Graphics* g, SIZE window, const ResourceBitmap& background,
                           const RECT& margins, double scale_factor);

// Moves |shadow| to |window|'s rectangle grown by 8 logical pixels.
void MoveShadow(HWND shadow, HWND window, double scale_factor);

}  // namespace lite

#endif  // UI_IMAGES_SHADOW_WIN_H_
