#include "installer/elevation/uac_settings_win.h"

#include <windows.h>

#include "base/registry_win.h"
#include "base/windows_version_win.h"

namespace lite {

bool AreUacNotificationsEnabled() {
  if (!GetWindowsVersion().IsVistaOrLater()) return false;
  RegistryKey policies;
  if (policies.Open(HKEY_LOCAL_MACHINE,
                    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                    KEY_QUERY_VALUE) != ERROR_SUCCESS) {
    return true;
  }
  return policies.ReadDword(u"EnableLUA").value_or(1) != 0;
}

}  // namespace lite
