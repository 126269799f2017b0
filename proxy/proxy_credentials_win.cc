#include "proxy/proxy_credentials_win.h"

#include <windows.h>
#include <wincred.h>

#include <utility>
#include <vector>

#include "base/srw_lock_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"

namespace lite {
namespace {

void Wipe(std::u16string& secret) {
  if (!secret.empty()) SecureZeroMemory(secret.data(), secret.size() * sizeof(char16_t));
  secret.clear();
}

// One credential read from the Credential Manager; its secret is wiped
// before the system's buffer is freed.
class ScopedCredential {
 public:
  ScopedCredential() = default;
  ScopedCredential(const ScopedCredential&) = delete;
  ScopedCredential& operator=(const ScopedCredential&) = delete;
  ~ScopedCredential() {
    if (!credential_) return;
    if (credential_->CredentialBlob && credential_->CredentialBlobSize) {
      SecureZeroMemory(credential_->CredentialBlob, credential_->CredentialBlobSize);
    }
    CredFree(credential_);
  }

  PCREDENTIALW* receive() { return &credential_; }
  const CREDENTIALW* get() const { return credential_; }

 private:
  PCREDENTIALW credential_ = nullptr;
};

std::optional<ProxyCredentials> ReadGenericCredential(const std::u16string& target) {
  ScopedCredential credential;
  if (!CredReadW(AsWide(target), CRED_TYPE_GENERIC, 0, credential.receive())) {
    return std::nullopt;
  }
  const CREDENTIALW* found = credential.get();
  if (!found->UserName || !*found->UserName) return std::nullopt;
  ProxyCredentials result;
  result.user = FromWide(found->UserName);
  // The secret of a generic credential is whatever bytes its writer chose;
  // proxy passwords are stored as UTF-16 text without a terminator.
  const size_t units = found->CredentialBlobSize / sizeof(char16_t);
  if (found->CredentialBlob && units) {
    result.password.assign(reinterpret_cast<const char16_t*>(found->CredentialBlob), units);
    while (!result.password.empty() && result.password.back() == u'\0') {
      result.password.pop_back();
    }
  }
  return result;
}

// The host of "host:port" (or of "[v6]:port"); the whole text when it
// carries no port.
std::u16string_view HostOf(std::u16string_view proxy) {
  const size_t colon = proxy.rfind(u':');
  if (colon == std::u16string_view::npos) return proxy;
  const size_t bracket = proxy.rfind(u']');
  if (bracket != std::u16string_view::npos && bracket > colon) return proxy;
  return proxy.substr(0, colon);
}

// The credentials the user typed for each proxy during this run. Never
// destroyed: threads still sending at exit may look here.
struct RememberedStore {
  SrwLock lock;
  std::vector<std::pair<std::u16string, ProxyCredentials>> entries;  // by lower-case proxy
};

RememberedStore& Remembered() {
  static RememberedStore* const store = new RememberedStore;
  return *store;
}

}  // namespace

ProxyCredentials::ProxyCredentials(std::u16string user_name, std::u16string secret)
    : user(std::move(user_name)), password(std::move(secret)) {}

ProxyCredentials::ProxyCredentials(const ProxyCredentials&) = default;

ProxyCredentials& ProxyCredentials::operator=(const ProxyCredentials& other) {
  if (this != &other) {
    Wipe(password);
    user = other.user;
    password = other.password;
  }
  return *this;
}

ProxyCredentials::~ProxyCredentials() { Wipe(password); }

std::optional<ProxyCredentials> ReadStoredProxyCredentials(std::u16string_view proxy) {
  if (proxy.empty()) return std::nullopt;
  std::optional<ProxyCredentials> found = ReadGenericCredential(std::u16string(proxy));
  const std::u16string_view host = HostOf(proxy);
  if (!found && host.size() != proxy.size() && !host.empty()) {
    found = ReadGenericCredential(std::u16string(host));
  }
  return found;
}

void RememberProxyCredentials(std::u16string_view proxy, const ProxyCredentials& credentials) {
  const std::u16string key = ToLowerASCII(proxy);
  RememberedStore& store = Remembered();
  SrwAutoLock hold(store.lock);
  for (auto& entry : store.entries) {
    if (entry.first == key) {
      entry.second = credentials;
      return;
    }
  }
  store.entries.emplace_back(key, credentials);
}

void ForgetProxyCredentials(std::u16string_view proxy) {
  const std::u16string key = ToLowerASCII(proxy);
  RememberedStore& store = Remembered();
  SrwAutoLock hold(store.lock);
  for (auto it = store.entries.begin(); it != store.entries.end(); ++it) {
    if (it->first == key) {
      // The entry's destructor wipes the password.
      store.entries.erase(it);
      return;
    }
  }
}

std::optional<ProxyCredentials> RememberedProxyCredentials(std::u16string_view proxy) {
  const std::u16string key = ToLowerASCII(proxy);
  RememberedStore& store = Remembered();
  SrwAutoLock hold(store.lock);
  for (const auto& entry : store.entries) {
    if (entry.first == key) return entry.second;
  }
  return std::nullopt;
}

std::optional<ProxyCredentials> FindProxyCredentials(std::u16string_view proxy) {
  std::optional<ProxyCredentials> found = RememberedProxyCredentials(proxy);
  if (!found) found = ReadStoredProxyCredentials(proxy);
  return found;
}

}  // namespace lite
