#include "installer/device_scale_factor_win.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>

#include "installer/process_command_line.h"
#include "installer/switches.h"

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

double GetScaleFactor() {
  // Static initialisation is thread-safe and happens once.
  static const double factor = ScaleFactorFrom(
      ProcessCommandLine().GetSwitchValueASCII(switches::kForceDeviceScaleFactor), ScreenDpi());
  return factor;
}

}  // namespace lite
