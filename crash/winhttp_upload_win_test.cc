#include "crash/winhttp_upload_win.h"

#include <gtest/gtest.h>

#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/cdn/test_cdn_win.h"

namespace lite {
namespace {

// What a collector's answer does to an upload: a 200 counts however its
// body goes, and no answer holds the upload past its deadline or makes it
// read more than its limit.
TEST(WinHttpUploadTest, AnswersAreBoundedInTimeAndSize) {
  const struct {
    std::string rule;
    DWORD deadline_ms;
    bool delivered;
    const char* noted;  // what the log says, if anything
    DWORD timeout_ms = 60000;
  } cases[] = {
      {R"({"body": "CrashID=1"})", 60000, true, ""},
      {R"({"status": 500})", 60000, false, "HTTP status 500"},
      // The body breaks off after 10 of 100,000 bytes.
      {R"({"generate": 100000, "drop_after": 10})", 60000, true, ""},
      // A body that cannot be read: a byte a second, and reads that time out
      // after half a second.
      {R"({"generate": 100, "rate": 1})", 60000, true, "WinHttpReadData", 500},
      // 50 MB at 200 kB/s: only the first 64 KiB are waited for.
      {R"({"generate": 50000000, "rate": 200000})", 60000, true, ""},
      // No answer at all, with the per-step time-out far beyond the deadline.
      {R"({"hang": true})", 3000, false, "WinHttpReceiveResponse"},
  };
  std::vector<char> log_memory(4096);
  std::vector<char> scratch_memory(4096);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rule);
    testing::TestCdn cdn;
    ASSERT_TRUE(cdn.Start());
    ASSERT_TRUE(cdn.SetRule("/post", c.rule));
    const std::u16string url = UTF8ToUTF16(cdn.Url("/post"));
    HttpUpload upload;
    upload.url = AsWide(url);
    upload.user_agent = L"Crashpad/0.8.0 WinHTTP";
    upload.headers = L"Content-Type: application/octet-stream\r\n";
    upload.body = "the body";
    upload.deadline_ms = c.deadline_ms;
    upload.timeout_ms = c.timeout_ms;
    ReportArena scratch(scratch_memory.data(), scratch_memory.size());
    ReportLog log(log_memory.data(), log_memory.size());
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(PostWithWinHttp(upload, &scratch, &log), c.delivered);
    EXPECT_LT(GetTickCount64() - start, 20000u);
    std::string noted;
    log.ForEachLine([&](std::string_view line) { noted += std::string(line) + "\n"; });
    if (*c.noted) {
      EXPECT_NE(noted.find(c.noted), std::string::npos) << noted;
    } else {
      EXPECT_EQ(noted, "");
    }
    const std::optional<Value> requests = cdn.Requests("/post");
    ASSERT_TRUE(requests && requests->is_list());
    ASSERT_EQ(requests->GetIfList()->size(), 1u);
    EXPECT_EQ(*requests->GetIfList()->front().FindPath("body")->GetIfString(), "the body");
  }
}

}  // namespace
}  // namespace lite
