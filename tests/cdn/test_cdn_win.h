// Windows tests' handle on the loopback test CDN (test_cdn.py): starts the
// Python server as a Unix process through Wine, sets per-path rules and reads
// the recorded requests over its control endpoint.
#ifndef TESTS_CDN_TEST_CDN_WIN_H_
#define TESTS_CDN_TEST_CDN_WIN_H_

#include <cstdint>
#include <optional>
#include <string>

#include "base/file_path.h"
#include "base/json/json_value.h"
#include "tests/cdn/test_server_win.h"

namespace lite {
namespace testing {

class TestCdn {
 public:
  TestCdn() = default;
  TestCdn(const TestCdn&) = delete;
  TestCdn& operator=(const TestCdn&) = delete;
  ~TestCdn() { Stop(); }

  // From the next Start on, the server answers every request from a peer
  // address other than |address| (control requests apart) with 403 and
  // records it with "refused_peer": a test whose requests must come through
  // the test proxy (which connects from 127.0.0.2) proves they did. Empty:
  // any peer.
  void set_only_from(const std::string& address) { only_from_ = address; }

  // Starts a server on a free loopback port that serves the files below
  // |root| (none when empty); false when it did not come up within 20 s.
  bool Start(const FilePath& root = FilePath());
  // Asks the server to exit. Idle servers also exit by themselves after ten
  // minutes, so a crashed test leaves nothing running for long.
  void Stop() { server_.Stop(); }

  uint16_t port() const { return server_.port(); }
  // "http://127.0.0.1:PORT" + |path|.
  std::string Url(const std::string& path) const;
  // The JSON-lines record of every request (Windows path).
  const FilePath& log_path() const { return server_.log_path(); }

  // Sets how |path| is answered; |rule| is a JSON object of the rule fields
  // of test_cdn.py, e.g. R"({"status": 404})". A path ending in "*" is a
  // prefix. |append| queues the rule behind those already set for the path.
  bool SetRule(const std::string& path, const std::string& rule, bool append = false) {
    return server_.SetRule(path, rule, append);
  }
  // Forgets every rule and every recorded request.
  bool Clear() { return server_.Clear(); }
  // The recorded requests whose path starts with |path_prefix|, as a list of
  // {"method","path","query","headers","body","body_base64"} objects.
  std::optional<Value> Requests(const std::string& path_prefix = std::string()) {
    return server_.Requests(path_prefix);
  }
  // The most requests the server was answering at one time since the last
  // Clear (or the start); -1 when it cannot be asked.
  int MostRequestsAnsweredAtOnce();

 private:
  ScriptServer server_;
  std::string only_from_;
};

// The value of header |name| (any letter case) in one recorded request of
// TestCdn::Requests; nullopt when the request did not carry it.
std::optional<std::string> RequestHeader(const Value& request, const std::string& name);

// Bytes [start, start + length) of the server's generated bodies
// ("/generated/SIZE/..." paths and "generate" rules).
std::string GeneratedContent(uint64_t start, uint64_t length);

}  // namespace testing
}  // namespace lite

#endif  // TESTS_CDN_TEST_CDN_WIN_H_
