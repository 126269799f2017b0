#include "net/downloader_win.h"

#include <wininet.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "base/file_util_win.h"
#include "base/thread_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "base/windows_version_win.h"
#include "gtest/gtest.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "net/download_attempt_win.h"
#include "net/file_sink_win.h"
#include "net/transfer_stop_win.h"
#include "tests/cdn/test_cdn_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

using testing::GeneratedContent;
using testing::RequestHeader;
using testing::TestCdn;

constexpr uint32_t kBodySize = 1000000;

// Everything an observer hears, in order.
class RecordingObserver : public DownloadObserver {
 public:
  void OnProgress(float fraction) override { progress.push_back(fraction); }
  void OnSlowDownload() override { ++slow; }
  void OnRemainingTime(int64_t seconds, int32_t phase) override {
    remaining.push_back({seconds, phase});
  }
  std::vector<float> progress;
  int slow = 0;
  std::vector<std::pair<int64_t, int32_t>> remaining;
};

class DownloaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(cdn_.Start());
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
    scratch_ = testing::MakeScratchDir();
  }
  void TearDown() override {
    SetGlobalLogger(nullptr);
    DeletePathRecursively(scratch_);
  }

  // A file the attempts write into, as the setup archive's download keeps.
  ScopedHandle CreateArchive(const std::u16string& name) {
    return ScopedHandle(CreateFileW(AsWide(scratch_.Append(name).value()),
                                    GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  std::string ReadAll(HANDLE file) {
    std::string data(::GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    if (!data.empty()) ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr);
    data.resize(read);
    SetFilePointer(file, 0, nullptr, FILE_END);
    return data;
  }
  std::u16string WideUrl(const std::string& path) { return WidenBytes(cdn_.Url(path)); }

  TestCdn cdn_;
  std::vector<LogRecord> records_;
  FilePath scratch_;
};

TEST_F(DownloaderTest, NotFoundEndsTheBodyAndFailsTheFinalCheck) {
  ASSERT_TRUE(cdn_.SetRule("/missing.exe", R"({"status": 404, "body": "no such file"})"));
  Downloader downloader;
  StringSink sink;
  ASSERT_TRUE(downloader.OpenDownload(WideUrl("/missing.exe"), &sink));
  EXPECT_EQ(downloader.ReadNext(), 0u);
  EXPECT_EQ(sink.bytes_written(), 0u);
  uint32_t status = 0;
  EXPECT_FALSE(downloader.FinalizeDownload(&status));
  EXPECT_EQ(status, 404u);
  EXPECT_EQ(downloader.last_error(), "final_query_info-404-0");
  EXPECT_TRUE(HasRecord(records_, "Unsuccessful download: " + cdn_.Url("/missing.exe"),
                        "FinalizeDownload"));

  // Nothing listening: the URL cannot be opened.
  const testing::RefusingPort refusing;
  ASSERT_NE(refusing.port(), 0);
  EXPECT_FALSE(downloader.OpenDownload(
      WidenBytes("http://127.0.0.1:" + std::to_string(refusing.port()) + "/x"), &sink));
  EXPECT_EQ(downloader.last_error().rfind("internet_open_url-", 0), 0u) << downloader.last_error();
}

TEST_F(DownloaderTest, FollowsARedirectChainAndSendsTheRequestHeaders) {
  ASSERT_TRUE(cdn_.SetRule("/start", R"({"redirect": "/hop"})"));
  ASSERT_TRUE(cdn_.SetRule("/hop", "{\"redirect\": \"" + cdn_.Url("/mirror/setup.exe") + "\"}"));
  ASSERT_TRUE(cdn_.SetRule("/mirror/setup.exe", R"({"body": "archive bytes"})"));
  Downloader downloader;
  std::string body;
  ASSERT_TRUE(downloader.DownloadToString(cdn_.Url("/start"), nullptr, &body));
  EXPECT_EQ(body, "archive bytes");
  EXPECT_EQ(UTF16ToUTF8(downloader.url()), cdn_.Url("/start"));
  EXPECT_EQ(UTF16ToUTF8(downloader.redirect_url()), cdn_.Url("/mirror/setup.exe"));

  std::optional<Value> requests = cdn_.Requests("/mirror/");
  ASSERT_TRUE(requests && requests->GetIfList() && requests->GetIfList()->size() == 1);
  const Value& request = requests->GetIfList()->front();
  const WindowsVersion& version = GetWindowsVersion();
  EXPECT_EQ(RequestHeader(request, "User-Agent"), "Tolvar.Browser lite installer");
  EXPECT_EQ(RequestHeader(request, "Accept"), "*/*");
  EXPECT_EQ(RequestHeader(request, "Sec-CH-UA-Platform"), "\"Windows\"");
  EXPECT_EQ(RequestHeader(request, "Sec-CH-UA-Platform-Version"),
            "\"" + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                std::to_string(version.ubr) + "\"");
  EXPECT_EQ(RequestHeader(request, "Range"), std::nullopt);
}

// A connection dropped at 40 %: the attempt fails rather than passing off a
// cut-off file, and the next attempt asks the mirror it was sent to for the
// rest.
TEST_F(DownloaderTest, ContinuesAfterADroppedConnection) {
  ASSERT_TRUE(cdn_.SetRule("/setup.exe", R"({"redirect": "/mirror/setup.exe"})"));
  ASSERT_TRUE(cdn_.SetRule("/mirror/setup.exe",
                           "{\"generate\": " + std::to_string(kBodySize) +
                               ", \"drop_after\": 400000, \"times\": 1}"));
  ASSERT_TRUE(cdn_.SetRule("/mirror/setup.exe",
                           "{\"generate\": " + std::to_string(kBodySize) + "}",
                           /*append=*/true));
  ScopedHandle archive = CreateArchive(u"setup.exe");
  ASSERT_TRUE(archive.is_valid());
  FileSink sink(archive.get());

  DownloadAttemptResult first;
  EXPECT_FALSE(DownloadAttempt(WideUrl("/setup.exe"), &sink, nullptr, nullptr, &first));
  EXPECT_EQ(first.error_text, "internet_read-12030");
  EXPECT_EQ(first.total_size, kBodySize);
  const uint32_t kept = sink.bytes_written();
  EXPECT_GT(kept, 0u);
  EXPECT_LE(kept, 400000u);

  RecordingObserver observer;
  DownloadAttemptResult second;
  ASSERT_TRUE(DownloadAttempt(WideUrl("/setup.exe"), &sink, nullptr, &observer, &second))
      << second.error_text;
  EXPECT_EQ(second.error_text, "");
  EXPECT_EQ(second.total_size, kBodySize);
  EXPECT_EQ(sink.bytes_written(), kBodySize);
  EXPECT_TRUE(ReadAll(archive.get()) == GeneratedContent(0, kBodySize));
  // A continued attempt has no starting report; it ends with the finish.
  ASSERT_FALSE(observer.progress.empty());
  EXPECT_GT(observer.progress.front(), 0.3f);
  EXPECT_EQ(observer.progress.back(), 1.0f);
  ASSERT_FALSE(observer.remaining.empty());
  EXPECT_EQ(observer.remaining.back(), std::make_pair(int64_t{0}, int32_t{2}));
  EXPECT_EQ(observer.remaining.front().second, 2);

  EXPECT_EQ(UTF16ToUTF8(second.redirect_url), cdn_.Url("/mirror/setup.exe"));
  std::optional<Value> requests = cdn_.Requests("/mirror/setup.exe");
  ASSERT_TRUE(requests && requests->GetIfList()->size() == 2);
  EXPECT_EQ(RequestHeader(requests->GetIfList()->back(), "Range"),
            "bytes=" + std::to_string(kept) + "-");
}

TEST_F(DownloaderTest, RefusedContinuationEmptiesTheSinkAndFails) {
  ASSERT_TRUE(cdn_.SetRule("/setup.exe", "{\"generate\": 300000, \"ignore_range\": true}"));
  ScopedHandle archive = CreateArchive(u"setup.exe");
  FileSink sink(archive.get());
  const std::string head = GeneratedContent(0, 120000);
  ASSERT_TRUE(sink.Write(head.data(), static_cast<uint32_t>(head.size())));

  DownloadAttemptResult refused;
  EXPECT_FALSE(DownloadAttempt(WideUrl("/setup.exe"), &sink, nullptr, nullptr, &refused));
  EXPECT_EQ(refused.error_text, "internet_set_file_pointer-12016");
  EXPECT_EQ(sink.bytes_written(), 0u);
  EXPECT_EQ(::GetFileSize(archive.get(), nullptr), 0u);

  // An error status on a continued request is a plain failure that keeps
  // what the sink holds.
  ASSERT_TRUE(sink.Write(head.data(), static_cast<uint32_t>(head.size())));
  ASSERT_TRUE(cdn_.SetRule("/setup.exe", R"({"status": 503, "times": 1})"));
  ASSERT_TRUE(cdn_.SetRule("/setup.exe", R"({"generate": 300000})", /*append=*/true));
  EXPECT_FALSE(DownloadAttempt(WideUrl("/setup.exe"), &sink, nullptr, nullptr, &refused));
  EXPECT_EQ(refused.error_text, "final_query_info-503-0");
  EXPECT_EQ(sink.bytes_written(), head.size());

  // Starting from zero goes through.
  ASSERT_TRUE(sink.Reset());
  RecordingObserver observer;
  DownloadAttemptResult fresh;
  ASSERT_TRUE(DownloadAttempt(WideUrl("/setup.exe"), &sink, nullptr, &observer, &fresh));
  EXPECT_TRUE(ReadAll(archive.get()) == GeneratedContent(0, 300000));
  EXPECT_EQ(observer.progress.front(), 0.0f);
  EXPECT_EQ(observer.remaining.front(), std::make_pair(int64_t{-1}, int32_t{0}));
}

TEST_F(DownloaderTest, WithoutContentLengthOnlyStartAndFinishAreReported) {
  ASSERT_TRUE(cdn_.SetRule("/setup.exe", R"({"generate": 200000, "no_content_length": true})"));
  StringSink sink;
  RecordingObserver observer;
  DownloadAttemptResult result;
  ASSERT_TRUE(DownloadAttempt(WideUrl("/setup.exe"), &sink, nullptr, &observer, &result));
  EXPECT_EQ(result.total_size, 0u);
  EXPECT_TRUE(sink.data() == GeneratedContent(0, 200000));
  EXPECT_EQ(observer.progress, (std::vector<float>{0.0f, 1.0f}));
  EXPECT_EQ(observer.remaining.size(), 2u);
  EXPECT_EQ(observer.slow, 0);
}

TEST_F(DownloaderTest, CancelFailsTheTransfer) {
  ASSERT_TRUE(cdn_.SetRule("/slow.exe", R"({"generate": 400000, "rate": 200000})"));
  ScopedHandle cancel(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  Downloader downloader;
  std::string body = "untouched";
  EXPECT_FALSE(downloader.DownloadToString(cdn_.Url("/slow.exe"), cancel.get(), &body));
  EXPECT_EQ(body, "untouched");
  StringSink sink;
  DownloadAttemptResult result;
  EXPECT_FALSE(DownloadAttempt(WideUrl("/slow.exe"), &sink, cancel.get(), nullptr, &result));
  EXPECT_EQ(result.error_text, "");
}

// The stop event is not asked before every read, but a stop in the middle
// of a body still ends the attempt long before the body would have ended.
TEST_F(DownloaderTest, CancelDuringTheBodyEndsTheAttemptSoon) {
  ASSERT_TRUE(cdn_.SetRule("/slow.exe", R"({"generate": 1000000, "rate": 100000})"));
  ScopedHandle cancel(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread stopper([&] {
    Sleep(1000);
    SetEvent(cancel.get());
  });
  StringSink sink;
  RecordingObserver observer;
  DownloadAttemptResult result;
  const ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(DownloadAttempt(WideUrl("/slow.exe"), &sink, cancel.get(), &observer, &result));
  const ULONGLONG took = GetTickCount64() - start;
  stopper.join();
  EXPECT_GE(took, 1000u);
  EXPECT_LT(took, 4000u);  // the whole body takes 10 s
  EXPECT_GT(sink.bytes_written(), 0u);
  EXPECT_LT(sink.bytes_written(), 1000000u);
  EXPECT_EQ(result.error_text, "");
  EXPECT_NE(observer.progress.back(), 1.0f);
}

// A stop that came first keeps the attempt from the server altogether; one
// that comes while WinINet waits for the answer closes the transfer from the
// stopping thread. (Windows' WinINet ends the waiting call then; Wine's lets
// it wait for the answer, which the attempt then refuses.)
TEST_F(DownloaderTest, StopClosesTheTransferFromTheStoppingThread) {
  ASSERT_TRUE(cdn_.SetRule("/late.exe", R"({"generate": 100000, "delay": 1})"));
  StringSink sink;
  DownloadAttemptResult result;
  {
    TransferStop stop;
    stop.Request();
    EXPECT_FALSE(DownloadAttempt(WideUrl("/late.exe"), &sink, stop, nullptr, &result));
    EXPECT_EQ(result.error_text, "internet_open-12017");
    EXPECT_TRUE(cdn_.Requests("/late.exe")->GetIfList()->empty());
  }
  TransferStop stop;
  std::atomic<bool> succeeded{true};
  Thread attempt;
  ASSERT_TRUE(attempt.Start(
      [&] { succeeded = DownloadAttempt(WideUrl("/late.exe"), &sink, stop, nullptr, &result); }));
  for (int i = 0; i < 100 && cdn_.Requests("/late.exe")->GetIfList()->empty(); ++i) Sleep(20);
  stop.Request();
  ASSERT_TRUE(attempt.Join(10000));
  EXPECT_TRUE(HasRecord(records_, "Closing the transfer under way to stop it", "Request"));
  EXPECT_FALSE(succeeded);
  EXPECT_EQ(sink.bytes_written(), 0u);
}

std::vector<FilePath> TemporaryDownloads() {
  return EnumerateFiles(GetUserTempDir(), u"dl*.tmp");
}

TEST_F(DownloaderTest, DownloadToFileReplacesOnlyAfterSuccessAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(cdn_.SetRule("/seed.json", R"({"body": "{\"seed\": 1}"})"));
  ASSERT_TRUE(cdn_.SetRule("/gone.json", R"({"status": 410})"));
  const FilePath destination = scratch_.Append(u"seed.json");
  ASSERT_TRUE(WriteWholeFile(destination, "old"));
  const size_t temporary_before = TemporaryDownloads().size();
  Downloader downloader;

  EXPECT_FALSE(downloader.DownloadToFile(cdn_.Url("/gone.json"), destination, nullptr));
  EXPECT_EQ(ReadFileWithLimit(destination, 100), "old");

  EXPECT_TRUE(downloader.DownloadToFile(cdn_.Url("/seed.json"), destination, nullptr));
  EXPECT_EQ(ReadFileWithLimit(destination, 100), "{\"seed\": 1}");
  // Nor is a copy left in WinINet's cache.
  DWORD entry_size = 0;
  EXPECT_FALSE(GetUrlCacheEntryInfoW(AsWide(WideUrl("/seed.json")), nullptr, &entry_size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  {
    // Held open without sharing: the transfer works, the move cannot.
    ScopedHandle lock(CreateFileW(AsWide(destination.value()), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock.is_valid());
    EXPECT_FALSE(downloader.DownloadToFile(cdn_.Url("/seed.json"), destination, nullptr));
    EXPECT_EQ(downloader.last_error(), "");
  }
  EXPECT_EQ(TemporaryDownloads().size(), temporary_before);
  EXPECT_EQ(cdn_.Requests("/seed.json")->GetIfList()->size(), 2u);
}

TEST_F(DownloaderTest, ReadsResponseHeadersShorterAndLongerThanTheirNames) {
  const std::string signature(3000, 's');
  ASSERT_TRUE(cdn_.SetRule("/seed", "{\"body\": \"x\", \"headers\": {\"X-Seed-Signature\": \"" +
                                        signature + "\", \"X-Country\": \"de\"}}"));
  Downloader downloader;
  StringSink sink;
  ASSERT_TRUE(downloader.OpenDownload(WideUrl("/seed"), &sink));
  EXPECT_EQ(downloader.GetResponseHeader("X-Seed-Signature"), signature);
  EXPECT_EQ(downloader.GetResponseHeader("X-Country"), "de");
  EXPECT_EQ(downloader.GetResponseHeader("X-Absent"), "");
}

// A sink that cannot store the body ends the transfer with "write_file-".
TEST_F(DownloaderTest, SinkFailureIsRecorded) {
  ASSERT_TRUE(cdn_.SetRule("/setup.exe", R"({"generate": 1000})"));
  const FilePath path = scratch_.Append(u"read-only");
  ASSERT_TRUE(WriteWholeFile(path, ""));
  ScopedHandle read_only(CreateFileW(AsWide(path.value()), GENERIC_READ, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  FileSink sink(read_only.get());
  DownloadAttemptResult result;
  EXPECT_FALSE(DownloadAttempt(WideUrl("/setup.exe"), &sink, nullptr, nullptr, &result));
  EXPECT_EQ(result.error_text, "write_file-5");
}

// Documents and reports are held in memory: a body past the limit ends the
// transfer instead of taking the memory.
TEST_F(DownloaderTest, InMemoryDownloadStopsAtTheLimit) {
  ASSERT_TRUE(cdn_.SetRule("/limit",
                           "{\"generate\": " + std::to_string(kMaxInMemoryDownloadBytes) + "}"));
  ASSERT_TRUE(cdn_.SetRule("/over", "{\"generate\": " +
                                        std::to_string(kMaxInMemoryDownloadBytes + 1) + "}"));
  Downloader downloader;
  std::string body;
  EXPECT_TRUE(downloader.DownloadToString(cdn_.Url("/limit"), nullptr, &body));
  EXPECT_EQ(body.size(), kMaxInMemoryDownloadBytes);

  body = "untouched";
  EXPECT_FALSE(downloader.DownloadToString(cdn_.Url("/over"), nullptr, &body));
  EXPECT_TRUE(body == "untouched") << body.size() << " bytes";
  EXPECT_EQ(downloader.last_error(), "write_file-223");  // ERROR_FILE_TOO_LARGE
  StringSink sink;
  DownloadAttemptResult result;
  EXPECT_FALSE(DownloadAttempt(WideUrl("/over"), &sink, nullptr, nullptr, &result));
  EXPECT_EQ(result.error_text, "write_file-223");
  EXPECT_LE(sink.data().size(), kMaxInMemoryDownloadBytes);
  bool logged = false;
  for (const LogRecord& r : records_) {
    logged |= r.message == "Download to memory stopped at its limit of 16777216 bytes: " +
                               cdn_.Url("/over");
  }
  EXPECT_TRUE(logged);
}

}  // namespace
}  // namespace lite
