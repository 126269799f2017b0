// Credentials for an authenticating proxy: those Windows holds for it, and
// those the user typed into the proxy prompt during this run.
#ifndef PROXY_PROXY_CREDENTIALS_WIN_H_
#define PROXY_PROXY_CREDENTIALS_WIN_H_

#include <optional>
#include <string>
#include <string_view>

namespace lite {

// A user name and password; the password is wiped when the object goes.
// Neither is ever written to the log, the statistics or a crash report.
struct ProxyCredentials {
  ProxyCredentials() = default;
  ProxyCredentials(std::u16string user_name, std::u16string secret);
  ProxyCredentials(const ProxyCredentials&);
  ProxyCredentials& operator=(const ProxyCredentials&);
  ~ProxyCredentials();

  std::u16string user;
  std::u16string password;
};

// The generic credentials stored in the user's Credential Manager for the
// proxy "host:port" |proxy|: target "host:port" first, then "host".
std::optional<ProxyCredentials> ReadStoredProxyCredentials(std::u16string_view proxy);

// What the user typed into the prompt, per proxy, for the rest of the run.
// Process-wide: every transport of the run (downloads, statistics, the crash
// upload) answers the same proxy with the same credentials.
void RememberProxyCredentials(std::u16string_view proxy, const ProxyCredentials& credentials);
void ForgetProxyCredentials(std::u16string_view proxy);
std::optional<ProxyCredentials> RememberedProxyCredentials(std::u16string_view proxy);

// The remembered credentials for |proxy|, else the stored ones.
std::optional<ProxyCredentials> FindProxyCredentials(std::u16string_view proxy);

}  // namespace lite

#endif  // PROXY_PROXY_CREDENTIALS_WIN_H_
