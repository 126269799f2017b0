#include "base/windows_version_win.h"

#include <windows.h>

#include "base/proc_address_win.h"
#include "base/scoped_handle_win.h"

namespace lite {
namespace {

using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

WindowsVersion ReadWindowsVersion() {
  WindowsVersion version;
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto rtl_get_version = GetProcAddressAs<RtlGetVersionFunction>(ntdll, "RtlGetVersion");
  if (rtl_get_version && rtl_get_version(&info) == 0) {
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.build = info.dwBuildNumber;
  }
  // RegQueryValueExW rather than RegGetValueW: Windows XP has only the
  // former, and this runs on every system before any version check.
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                    KEY_QUERY_VALUE, &opened) == ERROR_SUCCESS) {
    const ScopedRegKey key(opened);
    DWORD type = 0;
    DWORD ubr = 0;
    DWORD size = sizeof(ubr);
    if (RegQueryValueExW(key.get(), L"UBR", nullptr, &type, reinterpret_cast<BYTE*>(&ubr), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof(ubr)) {
      version.ubr = ubr;
    }
  }
  return version;
}

}  // namespace

const WindowsVersion& GetWindowsVersion() {
  static const WindowsVersion version = ReadWindowsVersion();
  return version;
}

}  // namespace lite
