#include "tools/ui_gallery/main_window_page_win.h"

#include <cstdio>
#include <optional>
#include <string>

#include "base/utf.h"
#include "distribution/distrib_info_params.h"
#include "installer/command_line/installer_command_line.h"
#include "ui/controls/control_ids.h"

namespace lite {
namespace {

// The page's distribution parameters: read from the gallery's text, kept
// out of the registry value setup would read (no setup runs here).
class PageParams : public DistribInfoParams {
 public:
  explicit PageParams(const std::string& text)
      : DistribInfoParams(text.empty() ? std::nullopt
                                       : std::optional<std::u16string>(UTF8ToUTF16(text))) {
    if (!text.empty()) LoadDistribParams();
  }

 protected:
  bool StoreRegistryValue(const std::u16string& name, const std::u16string&) override {
    std::fprintf(stderr, "gallery: %s not stored\n", UTF16ToUTF8(name).c_str());
    return true;
  }
};

// What the window reads for its whole life: the gallery's parameters, no
// switches.
struct PageInputs {
  explicit PageInputs(const GalleryOptions& options) : params(options.params) {}
  PageParams params;
  InstallerCommandLine command_line = InstallerCommandLine::FromWords({u"ui_gallery.exe"});
};

class MainWindowPage : private PageInputs, public LiteMainWindow {
 public:
  MainWindowPage(const BrandInfo& brand, const GalleryOptions& options)
      : PageInputs(options), LiteMainWindow(Inputs(brand, options, *this)) {}

 private:
  static MainWindowInputs Inputs(const BrandInfo& brand, const GalleryOptions& options,
                                 const PageInputs& page) {
    MainWindowInputs inputs{brand, page.params, page.command_line};
    inputs.scale_factor = options.scale_factor;
    inputs.windows = options.windows;
    inputs.with_engine = false;
    return inputs;
  }
};

}  // namespace

std::unique_ptr<LiteMainWindow> CreateMainWindowPage(const BrandInfo& brand,
                                                     const GalleryOptions& options) {
  return std::make_unique<MainWindowPage>(brand, options);
}

void ShowProgressScreen(HWND window, int percent) {
  SendMessageW(window, WM_COMMAND, kInstallButtonId, 0);
  SendMessageW(window, WM_SET_PROGRESS, percent, 0);
}

}  // namespace lite
