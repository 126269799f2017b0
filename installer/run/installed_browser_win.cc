#include "installer/run/installed_browser_win.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "base/file_util_win.h"
#include "base/registry_win.h"
#include "base/wide_string_win.h"
#include "installer/run/installed_browser.h"

namespace lite {
namespace {

// Empty when the value is absent, unreadable or not a string.
std::u16string ReadValue(const RegistryKey& key, const std::u16string& name) {
  return key.ReadString(name).value_or(std::u16string());
}

// An absolute path without ".." to an existing directory; else empty.
FilePath ExistingAbsoluteDir(std::u16string path) {
  const FilePath dir(std::move(path));
  if (!dir.IsAbsolute() || dir.ReferencesParent() || !DirectoryExists(dir)) return FilePath();
  return dir;
}

FilePath LocalAppDataDir() {
  wchar_t folder[MAX_PATH];
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                 folder))) {
    return ExistingAbsoluteDir(FromWide(folder));
  }
  wchar_t variable[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", variable, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return FilePath();
  return ExistingAbsoluteDir(FromWide(variable, length));
}

}  // namespace

FilePath GetExistingInstallDir(InstallLevel level) {
  RegistryKey key;
  const HKEY root = level == InstallLevel::kSystem ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  if (key.Open(root, kInstalledBrowserKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return FilePath();
  std::u16string version = ReadValue(key, u"tpv");
  if (version.empty()) version = ReadValue(key, u"pv");
  if (!IsDottedVersion(version)) return FilePath();
  const FilePath candidate =
      ApplicationDirFromSetupPath(FilePath(ReadValue(key, u"UninstallString")));
  if (candidate.empty() || !DirectoryExists(candidate)) return FilePath();
  return candidate;
}

bool IsCorporateInstall() {
  RegistryKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, kInstalledBrowserKey, KEY_READ) != ERROR_SUCCESS) return false;
  return key.ReadString(u"corporate") == std::u16string(u"true");
}

bool HasOrdinaryBrowser() {
  if (!GetExistingInstallDir(InstallLevel::kUser).empty() ||
      !GetExistingInstallDir(InstallLevel::kSystem).empty()) {
    return !IsCorporateInstall();
  }
  return false;
}

bool GetBrowserPresentKind() {
  return !GetExistingInstallDir(InstallLevel::kSystem).empty() && IsCorporateInstall();
}

const char* GetBrowserPresentText() {
  if (GetBrowserPresentKind()) return "corporate";
  return HasOrdinaryBrowser() ? "user" : "none";
}

FilePath GetBrowserApplicationDir() {
  const FilePath system_dir = GetExistingInstallDir(InstallLevel::kSystem);
  if (!system_dir.empty()) return system_dir;
  const FilePath local_app_data = LocalAppDataDir();
  if (local_app_data.empty()) return FilePath();
  return local_app_data.Append(u"Tolvar\\TolvarBrowser").Append(u"Application");
}

}  // namespace lite
