#include "crash/winhttp_upload_win.h"

#include <gtest/gtest.h>

#include "base/utf.h"
#include "base/wide_string_win.h"
#include "crash/byte_sink.h"
#include "crash/multipart_body.h"
#include "proxy/proxy_authentication_win.h"
#include "proxy/proxy_credentials_win.h"
#include "tests/cdn/test_cdn_win.h"
#include "tests/cdn/test_proxy_win.h"
#include "tests/support/user_proxy_settings_win.h"

namespace lite {
namespace {

// A crash upload is answered no more often than a download's request.
static_assert(kMaxUploadSends == kMaxProxyRequestSends);

std::string Text(const Value* value) {
  return value && value->GetIfString() ? *value->GetIfString() : "<missing>";
}

std::string Noted(const ReportLog& log) {
  std::string noted;
  log.ForEachLine([&](std::string_view line) { noted += std::string(line) + "\n"; });
  return noted;
}

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
    const std::string noted = Noted(log);
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

// Where an upload goes, and what a proxy that wants credentials does to it.
// The collector serves only the proxy's address when a proxy is given, so a
// delivered upload proves its path; the proxy answers 407 to whatever lacks
// "crash-user:s3cret".
TEST(WinHttpUploadTest, GoesWhereItIsToldAndAnswersTheProxy) {
  const struct {
    const char* name;
    bool through_proxy;
    bool proxy_wants_credentials;
    const char* stored_password;  // in the Credential Manager for the proxy
    const char* typed_password;   // typed into this run's prompt
    bool delivered;
    // Requests the proxy got: a delivered upload's last one is forwarded,
    // every other one refused for want of credentials. WinHTTP may answer
    // a 407 again by itself with the credentials it was given (Wine's
    // does), so a resend can be two requests; never more than the upload's
    // sends allow.
    size_t min_requests;
    size_t max_requests;
    const char* noted;  // what the log says after "127.0.0.1:PORT", if anything
  } cases[] = {
      {"direct", false, false, nullptr, nullptr, true, 0, 0, ""},
      {"open proxy", true, false, nullptr, nullptr, true, 1, 1, ""},
      {"stored credentials", true, true, "s3cret", nullptr, true, 2, kMaxUploadSends, ""},
      {"typed credentials", true, true, nullptr, "s3cret", true, 2, kMaxUploadSends, ""},
      // What the user typed in this run wins over what Windows holds.
      {"typed before stored", true, true, "stale", "s3cret", true, 2, kMaxUploadSends, ""},
      {"no credentials", true, true, nullptr, nullptr, false, 1, 1,
       ", and the run has no credentials for it"},
      {"wrong credentials", true, true, "wrong-one", nullptr, false, 2, kMaxUploadSends,
       ": it refused the run's credentials"},
  };
  std::vector<char> log_memory(4096);
  std::vector<char> scratch_memory(16384);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::TestCdn cdn;
    if (c.through_proxy) cdn.set_only_from(testing::kTestProxyForwardsFrom);
    ASSERT_TRUE(cdn.Start());
    testing::TestProxy proxy;
    ASSERT_TRUE(c.proxy_wants_credentials ? proxy.Start("crash-user:s3cret") : proxy.Start());
    const std::string proxy_name = proxy.HostPort();
    std::optional<testing::ScopedStoredCredential> stored;
    if (c.stored_password) {
      stored.emplace(proxy_name, "crash-user", c.stored_password);
      ASSERT_TRUE(stored->written());
    }
    if (c.typed_password) {
      RememberProxyCredentials(UTF8ToUTF16(proxy_name),
                               ProxyCredentials(u"crash-user", UTF8ToUTF16(c.typed_password)));
    }

    std::string body;
    StringByteSink sink(&body);
    ASSERT_TRUE(WriteMultipartField("b0undary", "prod", "Tolvar", &sink) &&
                WriteMultipartClose("b0undary", &sink));
    // Wine's WinHTTP asks a proxy in origin form ("POST /submit") when the
    // proxy's host name is the URL's, whatever their ports: where a proxy is
    // given, the collector is named by the short form of its address, which
    // needs no hosts file to resolve.
    const std::string collector =
        "http://" + std::string(c.through_proxy ? "127.1" : "127.0.0.1") + ":" +
        std::to_string(cdn.port());
    const std::u16string url = UTF8ToUTF16(collector + "/submit?product=Tolvar");
    const std::u16string proxy_wide = UTF8ToUTF16(proxy_name);
    HttpUpload upload;
    upload.url = AsWide(url);
    upload.user_agent = L"Crashpad/0.8.0 WinHTTP";
    upload.headers = L"Content-Type: multipart/form-data; boundary=b0undary\r\n";
    upload.body = body;
    upload.proxy = c.through_proxy ? AsWide(proxy_wide) : nullptr;
    ReportArena scratch(scratch_memory.data(), scratch_memory.size());
    ReportLog log(log_memory.data(), log_memory.size());
    EXPECT_EQ(PostWithWinHttp(upload, &scratch, &log), c.delivered);
    ForgetProxyCredentials(UTF8ToUTF16(proxy_name));

    const std::string noted = Noted(log);
    if (*c.noted) {
      EXPECT_EQ(noted, "HTTP status 407 from the proxy " + proxy_name + c.noted + "\n");
    } else {
      EXPECT_EQ(noted, "");
    }
    for (const char* secret : {"s3cret", "stale", "wrong-one"}) {
      EXPECT_EQ(noted.find(secret), std::string::npos) << noted;
    }

    const std::optional<Value> sends = proxy.Requests("");
    ASSERT_TRUE(sends && sends->is_list());
    const std::vector<Value>& requests = *sends->GetIfList();
    EXPECT_GE(requests.size(), c.min_requests);
    EXPECT_LE(requests.size(), c.max_requests);
    for (size_t i = 0; i < requests.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(Text(requests[i].FindPath("method")), "POST");
      EXPECT_EQ(Text(requests[i].FindPath("path")), "/submit");
      const bool last = i + 1 == requests.size();
      EXPECT_EQ(Text(requests[i].FindPath("outcome")),
                last && c.delivered ? "forwarded" : "auth_required");
      if (last && c.delivered && c.proxy_wants_credentials) {
        EXPECT_EQ(Text(requests[i].FindPath("user")), "crash-user");
      }
    }

    const std::optional<Value> received = cdn.Requests("");
    ASSERT_TRUE(received && received->is_list());
    ASSERT_EQ(received->GetIfList()->size(), c.delivered ? 1u : 0u);
    if (!c.delivered) continue;
    const Value& request = received->GetIfList()->front();
    EXPECT_EQ(request.FindPath("refused_peer"), nullptr);
    EXPECT_EQ(Text(request.FindPath("upload.fields.prod")), "Tolvar");
    EXPECT_EQ(testing::RequestHeader(request, "Via").has_value(), c.through_proxy);
  }
}

}  // namespace
}  // namespace lite
