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

// The records of Requests are {"method","path","query","target","headers",
// "body","body_base64",...} objects ("refused_peer" for a refused peer).
class TestCdn : public ScriptServer {
 public:
  // From the next Start on, the server answers every request from a peer
  // address other than |address| (control requests apart) with 403 and
  // records it with "refused_peer": a test whose requests must come through
  // the test proxy (which connects from kTestProxyForwardsFrom) proves they
  // did. Empty: any peer.
  void set_only_from(const std::string& address) { only_from_ = address; }

  // Starts a server on a free loopback port that serves the files below
  // |root| (none when empty); false when it did not come up within 20 s.
  bool Start(const FilePath& root = FilePath());

  // "http://127.0.0.1:PORT" + |path|.
  std::string Url(const std::string& path) const;
  // Serves |script| at |path| as a proxy auto-config script.
  bool ServeProxyScript(const std::string& path, const std::string& script);
  // The most requests the server was answering at one time since the last
  // Clear (or the start); -1 when it cannot be asked.
  int MostRequestsAnsweredAtOnce();

 private:
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
