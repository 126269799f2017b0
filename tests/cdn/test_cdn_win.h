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

namespace lite {
namespace testing {

class TestCdn {
 public:
  TestCdn() = default;
  TestCdn(const TestCdn&) = delete;
  TestCdn& operator=(const TestCdn&) = delete;
  ~TestCdn() { Stop(); }

  // Starts a server on a free loopback port that serves the files below
  // |root| (none when empty); false when it did not come up within 20 s.
  bool Start(const FilePath& root = FilePath());
  // Asks the server to exit. Idle servers also exit by themselves after ten
  // minutes, so a crashed test leaves nothing running for long.
  void Stop();

  uint16_t port() const { return port_; }
  // "http://127.0.0.1:PORT" + |path|.
  std::string Url(const std::string& path) const;
  // The JSON-lines record of every request (Windows path).
  const FilePath& log_path() const { return log_path_; }

  // Sets how |path| is answered; |rule| is a JSON object of the rule fields
  // of test_cdn.py, e.g. R"({"status": 404})". A path ending in "*" is a
  // prefix. |append| queues the rule behind those already set for the path.
  bool SetRule(const std::string& path, const std::string& rule, bool append = false);
  // Forgets every rule and every recorded request.
  bool Clear();
  // The recorded requests whose path starts with |path_prefix|, as a list of
  // {"method","path","query","headers","body","body_base64"} objects.
  std::optional<Value> Requests(const std::string& path_prefix = std::string());
  // The most requests the server was answering at one time since the last
  // Clear (or the start); -1 when it cannot be asked.
  int MostRequestsAnsweredAtOnce();

 private:
  // One request to the control endpoint; the body of a 200 answer.
  std::optional<std::string> Control(const std::string& command,
                                     const std::string& query,
                                     const std::string* body);

  uint16_t port_ = 0;
  FilePath dir_;
  FilePath log_path_;
};

// The value of header |name| (any letter case) in one recorded request of
// TestCdn::Requests; nullopt when the request did not carry it.
std::optional<std::string> RequestHeader(const Value& request, const std::string& name);

// Bytes [start, start + length) of the server's generated bodies
// ("/generated/SIZE/..." paths and "generate" rules).
std::string GeneratedContent(uint64_t start, uint64_t length);

// One HTTP/1.1 exchange with 127.0.0.1:|port| over a plain socket (no
// WinINet), for tests that check a server of their own; the status (0 when
// the exchange failed) and the body.
struct RawHttpResponse {
  int status = 0;
  std::string body;
};
RawHttpResponse RawHttpRequest(uint16_t port, const std::string& method,
                               const std::string& target, const std::string& body);

// A loopback port that refuses connections while the object lives: bound,
// never listening, so no other test's server can take it meanwhile (a
// stopped server's port can be handed to the next server at once).
class RefusingPort {
 public:
  RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  ~RefusingPort();

  uint16_t port() const { return port_; }

 private:
  uintptr_t socket_;
  uint16_t port_ = 0;
};

}  // namespace testing
}  // namespace lite

#endif  // TESTS_CDN_TEST_CDN_WIN_H_
