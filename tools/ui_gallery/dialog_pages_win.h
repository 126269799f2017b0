// The gallery's dialog pages: every dialog the installer can show, by the
// name the dialog factory gives it.
#ifndef TOOLS_UI_GALLERY_DIALOG_PAGES_WIN_H_
#define TOOLS_UI_GALLERY_DIALOG_PAGES_WIN_H_

#include <memory>
#include <string>
#include <vector>

#include "tools/ui_gallery/gallery_options.h"
#include "tools/ui_gallery/screen_capture_win.h"
#include "ui/dialog_window_win.h"

namespace lite {

class BrandInfo;

// "0".."12" (the redesigned kinds), "classic-0", "classic-3", "classic-4",
// "disk-space", "resume".
const std::vector<std::string>& DialogNames();

// The dialog |name| in the brand's language at the view's scale and Windows
// release; its buttons open nothing (their actions are logged and skipped).
std::unique_ptr<DialogWindow> CreateDialogPage(const std::string& name, const BrandInfo& brand,
                                               const GalleryOptions& options);

// The shadow the dialog |name| builds for itself.
ShadowPainter DialogShadowPainter(const std::string& name, const GalleryOptions& options);

}  // namespace lite

#endif  // TOOLS_UI_GALLERY_DIALOG_PAGES_WIN_H_
