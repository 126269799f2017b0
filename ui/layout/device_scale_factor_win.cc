#include "ui/layout/device_scale_factor_win.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>

namespace lite {
namespace {

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

double ScaleFactorFrom(const std::string& forced, int screen_dpi) {
  const double value = std::strtod(forced.c_str(), nullptr);
  if (value != 0 && std::isfinite(value)) return value;
  return screen_dpi / 96.0;
}

double ComputeDeviceScaleFactor(const std::string& forced) {
  return ScaleFactorFrom(forced, ScreenDpi());
}

}  // namespace lite
