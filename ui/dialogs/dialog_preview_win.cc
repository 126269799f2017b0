// Shows one dialog as the installer would, for screenshots:
//   dialog_preview.exe NAME [LANGUAGE_ID] [SCALE] [win7|win10] [SECONDS]
// NAME as CreateDialogByName takes it ("0".."12", "classic-0", "resume"...).
// The dialog closes by itself after SECONDS (default 5); the exit code is
// its result.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "installer/run/ui_runtime_win.h"
#include "ui/dialogs/dialog_actions.h"
#include "ui/dialogs/dialog_factory_win.h"
#include "ui/dialogs/modal_dialog_driver_for_testing_win.h"

namespace {

// The preview opens nothing: it prints what a button would have done.
class PrintingActions : public lite::DialogActions {
 public:
  void OpenUrl(const std::string& url) override { std::printf("open %s\n", url.c_str()); }
  void StartInstalledBrowser() override { std::printf("start browser\n"); }
};

void CALLBACK EndPreview(HWND dialog, UINT, UINT_PTR, DWORD) { EndDialog(dialog, 0); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: dialog_preview NAME [LANGUAGE_ID] [SCALE] [win7|win10] [SECONDS]\n");
    return 2;
  }
  const std::wstring wide_name = argv[1];
  const std::string name(wide_name.begin(), wide_name.end());
  lite::ScopedUiRuntime runtime;
  PrintingActions actions;
  lite::DialogContext context;
  context.actions = &actions;
  context.language_id = static_cast<uint16_t>(argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 1033);
  context.scale_factor = argc > 3 ? std::wcstod(argv[3], nullptr) : 1.0;
  context.windows = argc > 4 && std::wcscmp(argv[4], L"win7") == 0 ? lite::WindowsRelease::kWin7
                                                                    : lite::WindowsRelease::kWin10;
  const int seconds = argc > 5 ? std::wcstol(argv[5], nullptr, 10) : 5;
  context.log_path = lite::FilePath(u"C:\\users\\user\\Temp\\lite_installer.log");
  lite::SetDialogAddresses("tolvar", {}, &context);
  std::unique_ptr<lite::InstallerDialog> dialog = lite::CreateDialogByName(name, context);
  if (!dialog) {
    std::fprintf(stderr, "no dialog named %s\n", name.c_str());
    return 2;
  }
  static int remaining_ms;
  remaining_ms = seconds * 1000;
  const INT_PTR result = lite::RunDialogAndInspect(*dialog, [](HWND window) {
    SetTimer(window, 1, remaining_ms, &EndPreview);
    return true;
  });
  std::printf("result %d\n", static_cast<int>(result));
  return static_cast<int>(result);
}
