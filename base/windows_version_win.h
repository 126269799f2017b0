#ifndef BASE_WINDOWS_VERSION_WIN_H_
#define BASE_WINDOWS_VERSION_WIN_H_

#include <cstdint>

namespace lite {

struct WindowsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  // Update build revision ("UBR" in the registry); 0 where there is none.
  uint32_t ubr = 0;

  bool AtLeast(uint32_t want_major, uint32_t want_minor) const {
    return major > want_major || (major == want_major && minor >= want_minor);
  }
  bool IsVistaOrLater() const { return AtLeast(6, 0); }
  bool IsWin7OrLater() const { return AtLeast(6, 1); }
  bool IsWin8Or81() const { return major == 6 && (minor == 2 || minor == 3); }
  bool IsWin10OrLater() const { return AtLeast(10, 0); }
};

// Read once per process. Taken from RtlGetVersion, which reports the real
// version whatever the manifest says, and the UBR registry value.
const WindowsVersion& GetWindowsVersion();

}  // namespace lite

#endif  // BASE_WINDOWS_VERSION_WIN_H_
