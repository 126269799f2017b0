#include "proxy/internet_settings_win.h"

#include <windows.h>
#include <wininet.h>

#include "base/registry_win.h"
#include "base/wide_string_win.h"
#include "logging/log_message.h"
#include "logging/system_error_win.h"

namespace lite {
namespace {

constexpr char16_t kSettingsKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Takes a string WinINet allocated for a per-connection option.
std::u16string TakeOptionString(wchar_t* value) {
  if (!value) return std::u16string();
  std::u16string text = FromWide(value);
  GlobalFree(value);
  return text;
}

std::u16string ReadSettingsString(const char16_t* name) {
  RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, kSettingsKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) {
    return std::u16string();
  }
  return key.ReadString(name).value_or(std::u16string());
}

}  // namespace

InternetSettings ReadInternetSettings() {
  INTERNET_PER_CONN_OPTIONW options[4] = {};
  options[0].dwOption = INTERNET_PER_CONN_FLAGS;
  options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
  options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
  options[3].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
  INTERNET_PER_CONN_OPTION_LISTW list = {};
  list.dwSize = sizeof(list);
  list.dwOptionCount = ARRAYSIZE(options);
  list.pOptions = options;
  DWORD size = sizeof(list);

  InternetSettings settings;
  if (!InternetQueryOptionW(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &size)) {
    PLOG(WARNING) << "Cannot read the Internet settings; connecting directly";
    return settings;
  }
  const DWORD flags = options[0].Value.dwValue;
  std::u16string servers = TakeOptionString(options[1].Value.pszValue);
  std::u16string bypass = TakeOptionString(options[2].Value.pszValue);
  std::u16string script_url = TakeOptionString(options[3].Value.pszValue);
  settings.auto_detect = (flags & PROXY_TYPE_AUTO_DETECT) != 0;
  if (flags & PROXY_TYPE_PROXY) {
    settings.servers = std::move(servers);
    settings.bypass = std::move(bypass);
  }
  if (flags & PROXY_TYPE_AUTO_PROXY_URL) settings.script_url = std::move(script_url);
  if (settings.script_url.empty()) settings.script_url = ReadSettingsString(u"AutoConfigURL");
  return settings;
}

}  // namespace lite
