#include "tests/cdn/test_cdn_win.h"

#include "base/file_util_win.h"
#include "gtest/gtest.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace testing {
namespace {

// The Windows side of the server's plumbing: start through Wine, rules and
// the request record over the control endpoint, files from a Windows path.
TEST(TestCdnWinTest, ServesRulesFilesAndRecords) {
  const FilePath root = MakeScratchDir();
  ASSERT_TRUE(WriteWholeFile(root.Append(u"setup.exe"), "MZ body"));
  TestCdn cdn;
  ASSERT_TRUE(cdn.Start(root));
  EXPECT_NE(cdn.port(), 0);

  RawHttpResponse file = RawHttpRequest(cdn.port(), "GET", "/setup.exe", "");
  EXPECT_EQ(file.status, 200);
  EXPECT_EQ(file.body, "MZ body");

  ASSERT_TRUE(cdn.SetRule("/missing*", R"({"status": 404})"));
  EXPECT_EQ(RawHttpRequest(cdn.port(), "POST", "/missing/x?q=1", "payload").status, 404);
  EXPECT_FALSE(cdn.SetRule("/x", R"({"no_such_field": 1})"));

  RawHttpResponse generated = RawHttpRequest(cdn.port(), "GET", "/generated/70000/a", "");
  EXPECT_EQ(generated.body, GeneratedContent(0, 70000));

  std::optional<Value> records = cdn.Requests("/missing/");
  ASSERT_TRUE(records && records->is_list());
  ASSERT_EQ(records->GetIfList()->size(), 1u);
  const Value& record = records->GetIfList()->front();
  EXPECT_EQ(*record.FindPath("method")->GetIfString(), "POST");
  EXPECT_EQ(*record.FindPath("query")->GetIfString(), "q=1");
  EXPECT_EQ(*record.FindPath("body")->GetIfString(), "payload");

  std::optional<std::string> log = ReadFileWithLimit(cdn.log_path(), 1 << 20);
  ASSERT_TRUE(log);
  EXPECT_NE(log->find("/missing/x"), std::string::npos);

  // Two servers side by side get their own ports.
  TestCdn second;
  ASSERT_TRUE(second.Start());
  EXPECT_NE(second.port(), cdn.port());
  const uint16_t port = cdn.port();
  cdn.Stop();
  EXPECT_EQ(RawHttpRequest(port, "GET", "/setup.exe", "").status, 0);
  DeletePathRecursively(root);
}

}  // namespace
}  // namespace testing
}  // namespace lite
