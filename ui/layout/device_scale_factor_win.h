// The factor that turns the window's logical pixels into screen pixels.
#ifndef UI_LAYOUT_DEVICE_SCALE_FACTOR_WIN_H_
#define UI_LAYOUT_DEVICE_SCALE_FACTOR_WIN_H_

#include <string>

namespace lite {

// |forced| (the "force-device-scale-factor" switch) when it gives a finite
// non-zero number, else the screen's horizontal DPI over 96. Asks the screen
// each time: the caller computes it once and hands it on.
double ComputeDeviceScaleFactor(const std::string& forced);

// The rule itself, for a given switch value and screen DPI.
double ScaleFactorFrom(const std::string& forced, int screen_dpi);

}  // namespace lite

#endif  // UI_LAYOUT_DEVICE_SCALE_FACTOR_WIN_H_
