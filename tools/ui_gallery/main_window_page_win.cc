#include "tools/ui_gallery/main_window_page_win.h"

#include <optional>

#include "distribution/distrib_info_params.h"
#include "installer/command_line/installer_command_line.h"
#include "ui/controls/control_ids.h"

namespace lite {
namespace {

// What the window reads for its whole life: no parameters, no switches.
struct PageInputs {
  DistribInfoParams params{std::nullopt};
  InstallerCommandLine command_line = InstallerCommandLine::FromWords({u"ui_gallery.exe"});
};

class MainWindowPage : private PageInputs, public LiteMainWindow {
 public:
  MainWindowPage(const BrandInfo& brand, const GalleryOptions& options)
      : LiteMainWindow(Inputs(brand, options, *this)) {}

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
