// What the Windows tests' handles on the loopback test servers (test_cdn.py,
// test_proxy.py) share: the Python script started as a Unix process through
// Wine, and its control endpoint spoken to over a plain socket, so that no
// proxy setting of the user's reaches the tests' own requests.
#ifndef TESTS_CDN_TEST_SERVER_WIN_H_
#define TESTS_CDN_TEST_SERVER_WIN_H_

#include <cstdint>
#include <optional>
#include <string>

#include "base/file_path.h"
#include "base/json/json_value.h"

namespace lite {
namespace testing {

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

// The Unix name of a Windows path, as a Unix program is given it.
std::optional<std::string> UnixPathOf(const FilePath& path);

// |text| in double quotes, as one word of a command line.
std::u16string QuotedWord(const std::string& text);

// One running server script: "--port 0 --port-file F --log L --idle-exit
// 600" and the caller's arguments. The test servers' handles are this with
// their own Start.
class ScriptServer {
 public:
  ScriptServer() = default;
  ScriptServer(const ScriptServer&) = delete;
  ScriptServer& operator=(const ScriptServer&) = delete;
  ~ScriptServer() { Stop(); }

  // Starts |script| (a Unix path) with |arguments| (quoted words, each
  // after a space); false when it did not listen within 20 s.
  bool StartScript(const char* script, const std::u16string& arguments);
  // Asks the server to exit and waits until its port is dead. Idle servers
  // also exit by themselves after ten minutes, so a crashed test leaves
  // nothing running for long.
  void Stop();

  uint16_t port() const { return port_; }
  // The JSON-lines record of every request (Windows path).
  const FilePath& log_path() const { return log_path_; }

  // One request to the control endpoint (POST when |body| is given); the
  // body of a 200 answer.
  std::optional<std::string> Control(const std::string& command, const std::string& query,
                                     const std::string* body);
  // Sets how |path| is answered; |rule| is a JSON object of the script's
  // rule fields, e.g. R"({"status": 404})". A path ending in "*" is a
  // prefix. |append| queues the rule behind those already set for the path.
  bool SetRule(const std::string& path, const std::string& rule, bool append = false);
  // Forgets every rule and every recorded request.
  bool Clear();
  // The recorded requests whose path starts with |path_prefix|, as a list
  // of the script's request records.
  std::optional<Value> Requests(const std::string& path_prefix = std::string());

 private:
  uint16_t port_ = 0;
  FilePath dir_;
  FilePath log_path_;
};

}  // namespace testing
}  // namespace lite

#endif  // TESTS_CDN_TEST_SERVER_WIN_H_
