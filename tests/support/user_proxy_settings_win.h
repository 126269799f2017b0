// The user's proxy settings and stored proxy credentials, set for one test
// and put back as they were when it ends: the per-user Internet settings
// WinINet and the installer read ("ProxyEnable", "ProxyServer",
// "ProxyOverride", "AutoConfigURL") and a generic credential in the user's
// Credential Manager. Both are per user, so every program of the Wine
// prefix sees them while they are set: the tests that set them run alone.
#ifndef TESTS_SUPPORT_USER_PROXY_SETTINGS_WIN_H_
#define TESTS_SUPPORT_USER_PROXY_SETTINGS_WIN_H_

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/scoped_handle_win.h"

namespace lite {
namespace testing {

// The values a test wants; an empty optional is a value that is absent.
struct UserProxyValues {
  std::optional<DWORD> proxy_enable;
  std::optional<std::u16string> proxy_server;
  std::optional<std::u16string> proxy_override;
  std::optional<std::u16string> auto_config_url;
};

// The manual proxy |host_port| for every scheme; loopback hosts go through
// it too, as the test servers are on loopback.
UserProxyValues ManualProxy(const std::string& host_port);
// The proxy auto-config script at |url|, no manual proxy.
UserProxyValues ProxyScript(const std::string& url);

class ScopedUserProxySettings {
 public:
  explicit ScopedUserProxySettings(const UserProxyValues& values);
  ScopedUserProxySettings(const ScopedUserProxySettings&) = delete;
  ScopedUserProxySettings& operator=(const ScopedUserProxySettings&) = delete;
  // Writes back each value's type and bytes as they were, and deletes the
  // values that were absent.
  ~ScopedUserProxySettings();

  // Every value was saved and set as asked.
  bool applied() const { return applied_; }

 private:
  struct Saved {
    const wchar_t* name;
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
  };

  ScopedRegKey key_;
  std::vector<Saved> saved_;
  bool applied_ = false;
};

// A generic credential for |target| ("host:port" of a proxy) with |user| and
// |password| (stored as UTF-16 text, as the installer reads it); deleted
// when the object goes.
class ScopedStoredCredential {
 public:
  ScopedStoredCredential(const std::string& target, const std::string& user,
                         const std::string& password);
  ScopedStoredCredential(const ScopedStoredCredential&) = delete;
  ScopedStoredCredential& operator=(const ScopedStoredCredential&) = delete;
  ~ScopedStoredCredential();

  bool written() const { return written_; }

 private:
  std::u16string target_;
  bool written_ = false;
};

}  // namespace testing
}  // namespace lite

#endif  // TESTS_SUPPORT_USER_PROXY_SETTINGS_WIN_H_
