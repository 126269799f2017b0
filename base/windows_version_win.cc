#include "base/windows_version_win.h"

#include <windows.h>

#include "base/proc_address_win.h"

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
  DWORD ubr = 0;
  DWORD size = sizeof(ubr);
  if (RegGetValueW(HKEY_LOCAL_MACHINE,
                   L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"UBR",
                   RRF_RT_REG_DWORD, nullptr, &ubr, &size) == ERROR_SUCCESS) {
    version.ubr = ubr;
  }
  return version;
}

}  // namespace

const WindowsVersion& GetWindowsVersion() {
  static const WindowsVersion version = ReadWindowsVersion();
  return version;
}

}  // namespace lite
