// Windows tests' handle on the loopback test proxy (test_proxy.py): an HTTP
// proxy that forwards from 127.0.0.2, optionally wants Basic credentials,
// misbehaves on request (per-path rules) and records every request it gets.
#ifndef TESTS_CDN_TEST_PROXY_WIN_H_
#define TESTS_CDN_TEST_PROXY_WIN_H_

#include <cstdint>
#include <optional>
#include <string>

#include "base/file_path.h"
#include "base/json/json_value.h"
#include "tests/cdn/test_server_win.h"

namespace lite {
namespace testing {

// The address the proxy connects to origins from: a test CDN that serves
// only this peer (TestCdn::set_only_from) serves only what the proxy
// forwards.
inline constexpr char kTestProxyForwardsFrom[] = "127.0.0.2";

// Rules (SetRule) take the rule fields of test_proxy.py for the URL path of a
// forwarded request (a prefix when it ends in "*") or "host:port" of a
// tunnel, e.g. R"({"drop_after": 1000, "times": 1})". The records of
// Requests are {"method","url","path","host","headers" (names only),"user",
// "status","outcome","bytes",...} objects.
class TestProxy : public ScriptServer {
 public:
  // Starts a proxy on a free loopback port; with |credentials|
  // ("user:password") every request without them is answered 407. False
  // when it did not come up within 20 s.
  bool Start(const std::optional<std::string>& credentials = std::nullopt);

  // "127.0.0.1:PORT", as the user's settings and the Credential Manager
  // name the proxy.
  std::string HostPort() const;
};

}  // namespace testing
}  // namespace lite

#endif  // TESTS_CDN_TEST_PROXY_WIN_H_
