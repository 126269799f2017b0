#include "tools/ui_gallery/dialog_pages_win.h"

#include "distribution/brand_info.h"
#include "ui/dialogs/dialog_factory_win.h"
#include "ui/images/shadow_win.h"

namespace lite {

const std::vector<std::string>& DialogNames() {
  static const std::vector<std::string> names = {
      "0",  "3",  "4",  "5",         "6",         "7",         "8",          "9",
      "10", "11", "12", "classic-0", "classic-3", "classic-4", "disk-space", "resume"};
  return names;
}

std::unique_ptr<DialogWindow> CreateDialogPage(const std::string& name, const BrandInfo& brand,
                                               const GalleryOptions& options) {
  DialogContext context;
  context.language_id = static_cast<uint16_t>(brand.language_id());
  context.scale_factor = options.scale_factor;
  context.windows = options.windows;
  context.log_path = FilePath(u"C:\\users\\user\\Temp\\lite_installer.log");
  SetDialogAddresses("tolvar", {}, &context);
  return CreateDialogByName(name, context);
}

ShadowPainter DialogShadowPainter(const std::string& name, const GalleryOptions& options) {
  const double scale = options.scale_factor;
  if (name.find_first_not_of("0123456789") == std::string::npos) {
    auto pictures = std::make_shared<ShadowPictures>(
        LoadDialogShadowPictures(options.windows, scale));
    const WindowsRelease windows = options.windows;
    return [pictures, windows, scale](Gdiplus::Graphics* g, SIZE size) {
      return ComposeDialogShadow(g, size, *pictures, windows, scale);
    };
  }
  // The classic dialogs show their background picture around them.
  const ResourceBitmap background = ResourceBitmap::Load(104, 0, scale);
  return [background, scale](Gdiplus::Graphics* g, SIZE size) {
    return ComposeClassicShadow(g, size, background, {7, 4, 6, 8}, scale);
  };
}

}  // namespace lite
