// The installation window itself, without an engine, as a gallery page: the
// welcome screen as it opens, or the progress screen after Install.
#ifndef TOOLS_UI_GALLERY_MAIN_WINDOW_PAGE_WIN_H_
#define TOOLS_UI_GALLERY_MAIN_WINDOW_PAGE_WIN_H_

#include <windows.h>

#include <memory>

#include "tools/ui_gallery/gallery_options.h"
#include "ui/main_window/lite_main_window_win.h"

namespace lite {

class BrandInfo;

std::unique_ptr<LiteMainWindow> CreateMainWindowPage(const BrandInfo& brand,
                                                     const GalleryOptions& options);

// Presses Install and sets the progress, as the installation would.
void ShowProgressScreen(HWND window, int percent);

}  // namespace lite

#endif  // TOOLS_UI_GALLERY_MAIN_WINDOW_PAGE_WIN_H_
