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

class TestProxy {
 public:
  TestProxy() = default;
  TestProxy(const TestProxy&) = delete;
  TestProxy& operator=(const TestProxy&) = delete;
  ~TestProxy() { Stop(); }

  // Starts a proxy on a free loopback port; with |credentials|
  // ("user:password") every request without them is answered 407. False
  // when it did not come up within 20 s.
  bool Start(const std::optional<std::string>& credentials = std::nullopt);
  // Asks the proxy to exit and waits until its port is dead.
  void Stop() { server_.Stop(); }

  uint16_t port() const { return server_.port(); }
  // "127.0.0.1:PORT", as the user's settings and the Credential Manager
  // name the proxy.
  std::string HostPort() const;
  // The JSON-lines record of every request (Windows path).
  const FilePath& log_path() const { return server_.log_path(); }

  // Sets how requests for |path| (the URL path of a forwarded request, a
  // prefix when it ends in "*", or "host:port" of a tunnel) are answered;
  // |rule| is a JSON object of the rule fields of test_proxy.py, e.g.
  // R"({"drop_after": 1000, "times": 1})". |append| queues the rule behind
  // those already set for the path.
  bool SetRule(const std::string& path, const std::string& rule, bool append = false) {
    return server_.SetRule(path, rule, append);
  }
  // Forgets every rule and every recorded request.
  bool Clear() { return server_.Clear(); }
  // The recorded requests whose path starts with |path_prefix|, as a list of
  // {"method","url","path","host","headers" (names only),"user","status",
  // "outcome","bytes",...} objects.
  std::optional<Value> Requests(const std::string& path_prefix = std::string()) {
    return server_.Requests(path_prefix);
  }

 private:
  ScriptServer server_;
};

}  // namespace testing
}  // namespace lite

#endif  // TESTS_CDN_TEST_PROXY_WIN_H_
