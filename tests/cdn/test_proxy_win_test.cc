#include "tests/cdn/test_proxy_win.h"

#include "base/file_util_win.h"
#include "gtest/gtest.h"
#include "tests/cdn/test_cdn_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace testing {
namespace {

std::string Text(const Value& record, const char* name) {
  const Value* value = record.FindPath(name);
  return value && value->GetIfString() ? *value->GetIfString() : "<missing>";
}

// The Windows side of the proxy's plumbing, against a CDN that takes only
// what the proxy forwards: start through Wine, forwarding, credentials,
// rules and the record over the control endpoint.
TEST(TestProxyWinTest, ForwardsToACdnThatRefusesEveryoneElse) {
  const FilePath root = MakeScratchDir();
  ASSERT_TRUE(WriteWholeFile(root.Append(u"setup.exe"), "MZ body"));
  TestCdn cdn;
  cdn.set_only_from(kTestProxyForwardsFrom);
  ASSERT_TRUE(cdn.Start(root));
  TestProxy proxy;
  ASSERT_TRUE(proxy.Start());
  EXPECT_EQ(proxy.HostPort(), "127.0.0.1:" + std::to_string(proxy.port()));

  EXPECT_EQ(RawHttpRequest(cdn.port(), "GET", "/setup.exe", "").status, 403);
  const RawHttpResponse forwarded =
      RawHttpRequest(proxy.port(), "GET", cdn.Url("/setup.exe"), "");
  EXPECT_EQ(forwarded.status, 200);
  EXPECT_EQ(forwarded.body, "MZ body");

  std::optional<Value> at_cdn = cdn.Requests("/setup.exe");
  ASSERT_TRUE(at_cdn && at_cdn->is_list());
  ASSERT_EQ(at_cdn->GetIfList()->size(), 2u);
  EXPECT_EQ(Text(at_cdn->GetIfList()->at(0), "refused_peer"), "127.0.0.1");
  EXPECT_EQ(Text(at_cdn->GetIfList()->at(1), "refused_peer"), "<missing>");
  EXPECT_EQ(RequestHeader(at_cdn->GetIfList()->at(1), "Via"), "1.1 tolvar-test-proxy");

  ASSERT_TRUE(proxy.SetRule("/setup.exe", R"({"refuse": true, "times": 1})"));
  EXPECT_EQ(RawHttpRequest(proxy.port(), "GET", cdn.Url("/setup.exe"), "").status, 403);
  EXPECT_FALSE(proxy.SetRule("/x", R"({"no_such_field": 1})"));

  std::optional<Value> records = proxy.Requests("/setup");
  ASSERT_TRUE(records && records->is_list());
  ASSERT_EQ(records->GetIfList()->size(), 2u);
  EXPECT_EQ(Text(records->GetIfList()->at(0), "outcome"), "forwarded");
  EXPECT_EQ(Text(records->GetIfList()->at(0), "url"), cdn.Url("/setup.exe"));
  EXPECT_EQ(Text(records->GetIfList()->at(1), "outcome"), "refused");
  std::optional<std::string> log = ReadFileWithLimit(proxy.log_path(), 1 << 20);
  ASSERT_TRUE(log);
  EXPECT_NE(log->find("/setup.exe"), std::string::npos);

  ASSERT_TRUE(proxy.Clear());
  records = proxy.Requests();
  ASSERT_TRUE(records && records->is_list());
  EXPECT_TRUE(records->GetIfList()->empty());
  const uint16_t port = proxy.port();
  proxy.Stop();
  EXPECT_EQ(RawHttpRequest(port, "GET", "/__control/ping", "").status, 0);
  DeletePathRecursively(root);
}

}  // namespace
}  // namespace testing
}  // namespace lite
