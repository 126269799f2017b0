#include "installer/run/ui_runtime_win.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
// GDI+'s headers expect min and max, which NOMINMAX hides.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

namespace lite {

ScopedUiRuntime::ScopedUiRuntime() {
  com_initialized_ = SUCCEEDED(CoInitialize(nullptr));
  // Touches user32 so that the process becomes a GUI process before the
  // common controls load.
  DefWindowProcW(nullptr, WM_NULL, 0, 0);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LINK_CLASS | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
    gdiplus_token_ = token;
  }
}

ScopedUiRuntime::~ScopedUiRuntime() {
  if (gdiplus_token_) Gdiplus::GdiplusShutdown(gdiplus_token_);
  if (com_initialized_) CoUninitialize();
}

}  // namespace lite
