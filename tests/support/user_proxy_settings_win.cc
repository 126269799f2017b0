#include "tests/support/user_proxy_settings_win.h"

#include <wincred.h>

#include "base/utf.h"
#include "base/wide_string_win.h"

namespace lite {
namespace testing {
namespace {

constexpr wchar_t kSettingsKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

LONG SetOrDelete(HKEY key, const wchar_t* name, const std::optional<std::u16string>& value) {
  if (!value) {
    const LONG result = RegDeleteValueW(key, name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
  }
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(AsWide(*value)),
                        static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
}

}  // namespace

UserProxyValues ManualProxy(const std::string& host_port) {
  UserProxyValues values;
  values.proxy_enable = 1;
  values.proxy_server = UTF8ToUTF16(host_port);
  values.proxy_override = u"<-loopback>";
  return values;
}

UserProxyValues ProxyScript(const std::string& url) {
  UserProxyValues values;
  values.proxy_enable = 0;
  values.auto_config_url = UTF8ToUTF16(url);
  return values;
}

ScopedUserProxySettings::ScopedUserProxySettings(const UserProxyValues& values) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  key_.reset(key);
  bool saved_all = true;
  for (const wchar_t* name : {L"ProxyEnable", L"ProxyServer", L"ProxyOverride", L"AutoConfigURL"}) {
    Saved saved;
    saved.name = name;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, name, nullptr, &saved.type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
      saved.data.resize(size);
      result = RegQueryValueExW(key, name, nullptr, &saved.type, saved.data.data(), &size);
      saved.data.resize(size);
      saved.present = result == ERROR_SUCCESS;
    }
    saved_all &= result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    saved_.push_back(std::move(saved));
  }
  if (!saved_all) return;

  LONG result = ERROR_SUCCESS;
  if (values.proxy_enable) {
    const DWORD enable = *values.proxy_enable;
    result = RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&enable), sizeof(enable));
  } else {
    result = SetOrDelete(key, L"ProxyEnable", std::nullopt);
  }
  applied_ = result == ERROR_SUCCESS &&
             SetOrDelete(key, L"ProxyServer", values.proxy_server) == ERROR_SUCCESS &&
             SetOrDelete(key, L"ProxyOverride", values.proxy_override) == ERROR_SUCCESS &&
             SetOrDelete(key, L"AutoConfigURL", values.auto_config_url) == ERROR_SUCCESS;
}

ScopedUserProxySettings::~ScopedUserProxySettings() {
  if (!key_.is_valid()) return;
  for (const Saved& saved : saved_) {
    if (saved.present) {
      RegSetValueExW(key_.get(), saved.name, 0, saved.type, saved.data.data(),
                     static_cast<DWORD>(saved.data.size()));
    } else {
      RegDeleteValueW(key_.get(), saved.name);
    }
  }
}

ScopedStoredCredential::ScopedStoredCredential(const std::string& target, const std::string& user,
                                               const std::string& password)
    : target_(UTF8ToUTF16(target)) {
  const std::u16string user_name = UTF8ToUTF16(user);
  std::u16string secret = UTF8ToUTF16(password);
  CREDENTIALW credential = {};
  credential.Type = CRED_TYPE_GENERIC;
  credential.TargetName = const_cast<wchar_t*>(AsWide(target_));
  credential.UserName = const_cast<wchar_t*>(AsWide(user_name));
  credential.CredentialBlobSize = static_cast<DWORD>(secret.size() * sizeof(char16_t));
  credential.CredentialBlob = reinterpret_cast<BYTE*>(secret.data());
  credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
  written_ = CredWriteW(&credential, 0) != FALSE;
}

ScopedStoredCredential::~ScopedStoredCredential() {
  if (written_) CredDeleteW(AsWide(target_), CRED_TYPE_GENERIC, 0);
}

}  // namespace testing
}  // namespace lite
