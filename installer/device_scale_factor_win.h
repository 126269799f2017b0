// The factor that turns the window's logical pixels into screen pixels.
#ifndef INSTALLER_DEVICE_SCALE_FACTOR_WIN_H_
#define INSTALLER_DEVICE_SCALE_FACTOR_WIN_H_

#include <string>

namespace lite {

// "force-device-scale-factor" when it gives a finite non-zero number, else
// the screen's horizontal DPI over 96. Computed once per process.
double GetScaleFactor();

// The rule itself, for a given switch value and screen DPI.
double ScaleFactorFrom(const std::string& forced, int screen_dpi);

}  // namespace lite

#endif  // INSTALLER_DEVICE_SCALE_FACTOR_WIN_H_
