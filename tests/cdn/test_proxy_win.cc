#include "tests/cdn/test_proxy_win.h"

namespace lite {
namespace testing {

bool TestProxy::Start(const std::optional<std::string>& credentials) {
  std::u16string arguments = u" --upstream-source " + QuotedWord(kTestProxyForwardsFrom);
  if (credentials) arguments += u" --credentials " + QuotedWord(*credentials);
  return StartScript(TL_TEST_PROXY_SCRIPT, arguments);
}

std::string TestProxy::HostPort() const { return "127.0.0.1:" + std::to_string(port()); }

}  // namespace testing
}  // namespace lite
