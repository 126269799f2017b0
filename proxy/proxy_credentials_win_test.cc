#include "proxy/proxy_credentials_win.h"

#include <windows.h>
#include <wincred.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/wide_string_win.h"
#include "gtest/gtest.h"

namespace lite {
namespace {

// A generic credential written for one test and deleted after it.
class StoredCredential {
 public:
  StoredCredential(const std::u16string& target, const std::u16string& user,
                   const std::u16string& password, bool with_terminator = false)
      : target_(target) {
    std::u16string secret = password;
    if (with_terminator) secret.push_back(u'\0');
    CREDENTIALW credential = {};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = const_cast<wchar_t*>(AsWide(target_));
    credential.UserName = const_cast<wchar_t*>(AsWide(user));
    credential.CredentialBlobSize = static_cast<DWORD>(secret.size() * sizeof(char16_t));
    credential.CredentialBlob = reinterpret_cast<BYTE*>(secret.data());
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    written_ = CredWriteW(&credential, 0) != FALSE;
  }
  StoredCredential(const StoredCredential&) = delete;
  StoredCredential& operator=(const StoredCredential&) = delete;
  ~StoredCredential() {
    if (written_) CredDeleteW(AsWide(target_), CRED_TYPE_GENERIC, 0);
  }
  bool written() const { return written_; }

 private:
  std::u16string target_;
  bool written_ = false;
};

constexpr char16_t kProxy[] = u"creds-test-proxy.invalid:3128";
constexpr char16_t kHost[] = u"creds-test-proxy.invalid";

struct StoredEntry {
  const char16_t* target;
  const char16_t* user;
  const char16_t* password;
  bool with_terminator;
};

struct LookupCase {
  const char* name;
  std::vector<StoredEntry> stored;
  const char16_t* asked;  // the proxy looked up
  const char16_t* want_user;  // null: nothing found
  const char16_t* want_password;
};

TEST(ProxyCredentialsTest, StoredCredentialsAreFoundForHostAndPortThenForHost) {
  const LookupCase cases[] = {
      {"host and port", {{kProxy, u"alice", u"port secret", false}}, kProxy, u"alice",
       u"port secret"},
      {"host only", {{kHost, u"bob", u"host secret", false}}, kProxy, u"bob", u"host secret"},
      {"host and port wins over host",
       {{kHost, u"bob", u"host secret", false}, {kProxy, u"alice", u"port secret", false}},
       kProxy, u"alice", u"port secret"},
      {"another port is another proxy",
       {{u"creds-test-proxy.invalid:8080", u"carol", u"other", false}}, kProxy, nullptr,
       nullptr},
      {"nothing stored", {}, kProxy, nullptr, nullptr},
      {"a proxy without port looks up its host",
       {{kHost, u"bob", u"host secret", false}}, kHost, u"bob", u"host secret"},
      {"a stored terminator is not part of the password",
       {{kProxy, u"dave", u"with nul", true}}, kProxy, u"dave", u"with nul"},
      {"an empty password", {{kProxy, u"erin", u"", false}}, kProxy, u"erin", u""},
      {"no user name is no credential", {{kProxy, u"", u"secret", false}}, kProxy, nullptr,
       nullptr},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::unique_ptr<StoredCredential>> stored;
    for (const StoredEntry& entry : c.stored) {
      stored.push_back(std::make_unique<StoredCredential>(entry.target, entry.user,
                                                          entry.password, entry.with_terminator));
      ASSERT_TRUE(stored.back()->written()) << GetLastError();
    }
    std::optional<ProxyCredentials> found = ReadStoredProxyCredentials(c.asked);
    // Nothing remembered: FindProxyCredentials gives the stored ones.
    std::optional<ProxyCredentials> any = FindProxyCredentials(c.asked);
    if (!c.want_user) {
      EXPECT_FALSE(found.has_value());
      EXPECT_FALSE(any.has_value());
      continue;
    }
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->user, c.want_user);
    EXPECT_EQ(found->password, c.want_password);
    ASSERT_TRUE(any.has_value());
    EXPECT_EQ(any->user, c.want_user);
  }
}

TEST(ProxyCredentialsTest, RememberedCredentialsComeBeforeStoredOnesUntilForgotten) {
  StoredCredential stored(kProxy, u"stored-user", u"stored secret");
  ASSERT_TRUE(stored.written());
  EXPECT_FALSE(RememberedProxyCredentials(kProxy).has_value());

  RememberProxyCredentials(kProxy, ProxyCredentials(u"typed-user", u"typed secret"));
  // Proxy names are host names: letter case does not make another proxy.
  std::optional<ProxyCredentials> found = FindProxyCredentials(u"CREDS-test-proxy.invalid:3128");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->user, u"typed-user");
  EXPECT_EQ(found->password, u"typed secret");
  // Another proxy is not answered with them.
  EXPECT_FALSE(RememberedProxyCredentials(u"creds-test-proxy.invalid:8080").has_value());

  RememberProxyCredentials(kProxy, ProxyCredentials(u"second-user", u"second secret"));
  EXPECT_EQ(FindProxyCredentials(kProxy)->user, u"second-user");

  ForgetProxyCredentials(kProxy);
  EXPECT_FALSE(RememberedProxyCredentials(kProxy).has_value());
  found = FindProxyCredentials(kProxy);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->user, u"stored-user");
}

// Every transport of a run reads and writes the remembered credentials from
// its own thread.
TEST(ProxyCredentialsTest, RememberedCredentialsAreSharedSafelyBetweenThreads) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 2000;
  std::vector<std::thread> threads;
  std::vector<int> torn(kThreads, 0);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &torn] {
      const std::u16string user = u"user" + std::u16string(1, u'0' + t);
      const std::u16string password = u"secret" + std::u16string(1, u'0' + t);
      for (int i = 0; i < kRounds; ++i) {
        RememberProxyCredentials(u"threads-proxy.invalid:1", ProxyCredentials(user, password));
        std::optional<ProxyCredentials> seen = RememberedProxyCredentials(u"threads-proxy.invalid:1");
        // Whoever wrote last (another thread may have forgotten them since),
        // a user and password always belong together.
        if (seen && seen->user.substr(4) != seen->password.substr(6)) ++torn[t];
        if (i % 7 == 0) ForgetProxyCredentials(u"threads-proxy.invalid:1");
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(torn[t], 0) << "thread " << t;
  ForgetProxyCredentials(u"threads-proxy.invalid:1");
}

}  // namespace
}  // namespace lite
