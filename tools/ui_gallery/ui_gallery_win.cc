// The window toolkit's gallery: shows any page (a window preview, a dialog
// kind, a control set) in a chosen design, language, Windows release and
// scale factor, and can capture each page into a PNG.
//
//   ui_gallery --page=welcome --design=origin --lang=de --windows=7
//              --force-device-scale-factor=1.5 [--params=cancel=1&first=1]
//              [--percent=37] [--shot=FILE.png]
//   ui_gallery --batch=FILE   one view per line (the same switches), each
//                             with its --shot; one process shows them all
//   ui_gallery --list-pages | --list-languages
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "distribution/brand_info.h"
#include "tools/ui_gallery/dialog_pages_win.h"
#include "tools/ui_gallery/gallery_options.h"
#include "tools/ui_gallery/main_window_page_win.h"
#include "tools/ui_gallery/screen_capture_win.h"
#include "ui/images/gdiplus_win.h"
#include "ui/layout/scale.h"

namespace lite {
namespace {

// A page's window, how its shadow looks, and what is done to the window
// once it shows, before it is captured.
struct View {
  std::unique_ptr<DialogWindow> window;
  ShadowPainter shadow;
  std::function<void(HWND)> prepare;
};

using PageFactory = std::function<View(const BrandInfo&, const GalleryOptions&)>;

enum class Screen { kWelcome, kProgress };

// The real window on the welcome screen as it opens, or on the progress
// screen after Install.
View MainWindowView(const BrandInfo& brand, const GalleryOptions& options, Screen screen) {
  std::unique_ptr<LiteMainWindow> window = CreateMainWindowPage(brand, options);
  LiteMainWindow* raw = window.get();
  View view{std::move(window),
            [raw](Gdiplus::Graphics* g, SIZE size) { return raw->PaintShadow(g, size); }};
  if (screen == Screen::kProgress) {
    const int percent = options.progress_percent;
    view.prepare = [percent](HWND hwnd) { ShowProgressScreen(hwnd, percent); };
  }
  return view;
}

struct Page {
  std::string name;
  // Dialogs look the same in every design: they are shown in one.
  bool per_design;
  PageFactory make;
};

const std::vector<Page>& Pages() {
  static const std::vector<Page> pages = [] {
    std::vector<Page> list = {
      {"welcome", true,
       [](const BrandInfo& brand, const GalleryOptions& options) {
         return MainWindowView(brand, options, Screen::kWelcome);
       }},
      {"progress", true,
       [](const BrandInfo& brand, const GalleryOptions& options) {
         return MainWindowView(brand, options, Screen::kProgress);
       }},
    };
    for (const std::string& name : DialogNames()) {
      list.push_back({"dialog-" + name, false,
                      [name](const BrandInfo& brand, const GalleryOptions& options) {
                        return View{CreateDialogPage(name, brand, options),
                                    DialogShadowPainter(name, options), nullptr};
                      }});
    }
    return list;
  }();
  return pages;
}

constexpr COLORREF kBackdrop = RGB(0xE9, 0xEC, 0xEF);

// A light surface behind the pages, so that shadows show as they would on
// a desktop.
HWND CreateBackdrop() {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hbrBackground = CreateSolidBrush(kBackdrop);
  window_class.lpszClassName = L"TolvarGalleryBackdrop";
  RegisterClassW(&window_class);
  return CreateWindowExW(WS_EX_TOOLWINDOW, window_class.lpszClassName, L"", WS_POPUP | WS_VISIBLE,
                         0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                         nullptr, nullptr, window_class.hInstance, nullptr);
}

// A Unix path is the same file on Wine's drive Z:.
std::u16string WindowsPath(const std::string& path) {
  std::u16string wide = UTF8ToUTF16(path);
  if (wide.empty() || wide[0] != u'/') return wide;
  for (char16_t& c : wide) {
    if (c == u'/') c = u'\\';
  }
  return u"Z:" + wide;
}

// The view being captured: once its window shows, it is painted, captured
// and ended.
struct Shot {
  DialogWindow* page = nullptr;
  ShadowPainter shadow;
  std::function<void(HWND)> prepare;
  std::u16string path;
  int margin = 0;
  bool written = false;
};
Shot g_shot;

void CALLBACK ShotTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND window = g_shot.page ? g_shot.page->hwnd() : nullptr;
  if (!window || !IsWindowVisible(window)) return;
  KillTimer(nullptr, id);
  if (g_shot.prepare) g_shot.prepare(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  g_shot.written =
      CaptureWindowToPng(window, g_shot.margin, kBackdrop, g_shot.shadow, g_shot.path);
  EndDialog(window, 0);
}

// Prepares the shown view (no picture): once the window shows, since a timer
// tick comes after WM_INITDIALOG.
void CALLBACK PrepareTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND window = g_shot.page ? g_shot.page->hwnd() : nullptr;
  if (!window || !IsWindowVisible(window)) return;
  KillTimer(nullptr, id);
  g_shot.prepare(window);
}

// Shows one view; false when it could not be made or captured.
bool ShowView(const GalleryOptions& options, HWND backdrop) {
  const PageFactory* make = nullptr;
  for (const Page& page : Pages()) {
    if (options.page == page.name) make = &page.make;
  }
  if (!make) {
    std::fprintf(stderr, "unknown page %s\n", options.page.c_str());
    return false;
  }
  BrandInfo brand(GetUserTempDir());
  brand.ApplyBrandInfo(BrandConfigFor(options));
  brand.SetInterfaceLanguage(options.language);
  View view = (*make)(brand, options);
  std::unique_ptr<DialogWindow>& page = view.window;
  if (!page) {
    std::fprintf(stderr, "page %s has nothing to show in this design\n", options.page.c_str());
    return false;
  }
  if (options.shot.empty()) {
    if (view.prepare) {
      g_shot = Shot{page.get(), nullptr, view.prepare};
      SetTimer(nullptr, 0, 40, &PrepareTimer);
    }
    page->RunModal(backdrop);
    return true;
  }
  g_shot = Shot{page.get(), view.shadow, view.prepare, WindowsPath(options.shot),
                Scale(options.scale_factor, 8) + 16};
  SetTimer(nullptr, 0, 40, &ShotTimer);
  page->RunModal(backdrop);
  if (!g_shot.written) std::fprintf(stderr, "no picture for %s\n", options.shot.c_str());
  return g_shot.written;
}

int Run(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--list-pages") {
    // The script renders a page in each design only when it differs by one.
    for (const Page& page : Pages()) {
      std::printf("%s %s\n", page.name.c_str(), page.per_design ? "designs" : "one-design");
    }
    return 0;
  }
  if (args.size() == 1 && args[0] == "--list-languages") {
    for (const std::string& code : InterfaceLanguages()) std::printf("%s\n", code.c_str());
    return 0;
  }
  std::vector<std::vector<std::string>> views;
  if (args.size() == 1 && args[0].rfind("--batch=", 0) == 0) {
    std::ifstream batch(args[0].substr(8));
    if (!batch) {
      std::fprintf(stderr, "cannot read %s\n", args[0].c_str());
      return 2;
    }
    for (std::string line; std::getline(batch, line);) {
      std::vector<std::string> words = SplitWords(line);
      if (!words.empty()) views.push_back(std::move(words));
    }
  } else {
    views.push_back(args);
  }
  std::vector<GalleryOptions> parsed;
  for (const std::vector<std::string>& view : views) {
    std::string error;
    std::optional<GalleryOptions> options = ParseGalleryOptions(view, GalleryOptions(), &error);
    if (!options) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 2;
    }
    parsed.push_back(*options);
  }

  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LINK_CLASS | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  HWND backdrop = CreateBackdrop();

  const auto start = std::chrono::steady_clock::now();
  int failed = 0;
  for (const GalleryOptions& options : parsed) failed += ShowView(options, backdrop) ? 0 : 1;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (parsed.size() > 1) {
    std::printf("%zu views, %d failed, %.1f s\n", parsed.size(), failed, seconds);
  }

  DestroyWindow(backdrop);
  Gdiplus::GdiplusShutdown(token);
  CoUninitialize();
  return failed ? 1 : 0;
}

}  // namespace
}  // namespace lite

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    args.push_back(lite::UTF16ToUTF8(reinterpret_cast<const char16_t*>(argv[i])));
  }
  return lite::Run(args);
}
