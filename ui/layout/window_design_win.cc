#include "base/windows_version_win.h"
#include "ui/layout/window_design.h"

namespace lite {

WindowsRelease CurrentWindowsRelease() {
  const WindowsVersion& v = GetWindowsVersion();
  if (v.IsWin10OrLater()) return WindowsRelease::kWin10;
  if (v.AtLeast(6, 3)) return WindowsRelease::kWin81;
  if (v.AtLeast(6, 2)) return WindowsRelease::kWin8;
  if (v.AtLeast(6, 1)) return WindowsRelease::kWin7;
  return WindowsRelease::kXpOrVista;
}

}  // namespace lite
