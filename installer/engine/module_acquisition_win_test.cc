#include "installer/engine/module_acquisition_win.h"

#include <gtest/gtest.h>

#include <thread>

#include "base/file_util_win.h"
#include "base/scoped_handle_win.h"
#include "base/utf.h"
#include "installer/command_line/installer_command_line.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "net/module_file_win.h"
#include "net/transfer_stop_win.h"
#include "tests/cdn/test_cdn_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

using testing::GeneratedContent;
using testing::RequestHeader;
using testing::TestCdn;

constexpr uint32_t kSize = 100000;

class RecordingReporter : public ModuleAcquisitionReporter {
 public:
  void OnDownloadStarted() override { ++started; }
  void OnDownloadAttempt(const DownloadAttemptReport& report) override {
    attempts.push_back(report);
  }
  void OnModuleDownloaded(const std::string& version, int64_t micros) override {
    module_version = version;
    download_micros = micros;
  }
  int started = 0;
  std::vector<DownloadAttemptReport> attempts;
  std::string module_version;
  int64_t download_micros = -1;
};

// The engine's environment with short pauses, so that six attempts take no
// minute and a half.
class QuickPauses : public WinAcquisitionEnvironment {
 public:
  using WinAcquisitionEnvironment::WinAcquisitionEnvironment;
  bool quick = true;
  bool Pause(uint32_t ms) override { return WinAcquisitionEnvironment::Pause(quick ? 10 : ms); }
};

class WinModuleAcquisitionTest : public ::testing::Test {
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

  std::vector<std::string> RequestedPaths() {
    std::vector<std::string> paths;
    if (std::optional<Value> requests = cdn_.Requests("/")) {
      for (const Value& request : *requests->GetIfList()) {
        paths.push_back(*request.FindPath("path")->GetIfString());
      }
    }
    return paths;
  }

  TestCdn cdn_;
  std::vector<LogRecord> records_;
  FilePath scratch_;
  TransferStop stop_;
  RecordingReporter reporter_;
  InstallerCommandLine command_line_;
  QuickPauses environment_{&stop_, nullptr};
};

TEST_F(WinModuleAcquisitionTest, ThreeUrlsThreeAttemptsEachInOrder) {
  for (const char* path : {"/x64.arc", "/versioned.arc", "/plain.arc"}) {
    cdn_.SetRule(path, R"({"status": 503})");
  }
  // The test binary has no version resource and was just written: the
  // versioned URL counts as new.
  WinModuleAcquisition acquisition(
      {cdn_.Url("/plain.arc"), cdn_.Url("/versioned.arc"), cdn_.Url("/x64.arc")}, &environment_,
      &reporter_);
  command_line_.AppendSwitch("download-x64");
  const FilePath path = GetModulePath(scratch_);
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(acquisition.GetModule(path, nullptr, command_line_), DownloadResult::kFailed);

  const std::vector<std::string> expected = {
      "/x64.arc",       "/x64.arc",   "/x64.arc",   "/versioned.arc", "/versioned.arc",
      "/versioned.arc", "/plain.arc", "/plain.arc", "/plain.arc"};
  EXPECT_EQ(RequestedPaths(), expected);
  ASSERT_EQ(reporter_.attempts.size(), 9u);
  EXPECT_EQ(reporter_.attempts[8].error.rfind("final_query_info-503-", 0), 0u);
  EXPECT_TRUE(HasRecord(records_, "Max download attempts failed (9)", "DownloadModule"));
  // Its own reason is the result code: no Windows error text is attached.
  bool logged = false;
  for (const LogRecord& record : records_) {
    if (std::string(record.function) != "GetModule") continue;
    logged = true;
    EXPECT_EQ(record.severity, int32_t{1});  // ERROR
    EXPECT_EQ(record.message, "Module was not downloaded: " + UTF16ToUTF8(path.value()));
  }
  EXPECT_TRUE(logged);
}

TEST_F(WinModuleAcquisitionTest, FivePercentStartsOverFiftyContinuesToAWholeFile) {
  const std::string path_on_cdn = "/setup.arc";
  cdn_.SetRule(path_on_cdn, R"({"generate": 100000, "drop_after": 5000, "times": 1})");
  cdn_.SetRule(path_on_cdn, R"({"generate": 100000, "drop_after": 50000, "times": 1})", true);
  cdn_.SetRule(path_on_cdn, R"({"generate": 100000})", true);
  WinModuleAcquisition acquisition({cdn_.Url(path_on_cdn), "", ""}, &environment_, &reporter_);
  const FilePath path = GetModulePath(scratch_);
  ModuleFile lock;
  ASSERT_EQ(acquisition.GetModule(path, &lock, command_line_), DownloadResult::kSucceeded);
  EXPECT_TRUE(lock.IsValid());
  lock.Close();

  std::optional<Value> requests = cdn_.Requests(path_on_cdn);
  ASSERT_TRUE(requests);
  ASSERT_EQ(requests->GetIfList()->size(), 3u);
  EXPECT_EQ(RequestHeader((*requests->GetIfList())[0], "Range"), std::nullopt);
  // 5 %: started over.
  EXPECT_EQ(RequestHeader((*requests->GetIfList())[1], "Range"), std::nullopt);
  EXPECT_EQ(RequestHeader((*requests->GetIfList())[2], "Range"), "bytes=50000-");
  EXPECT_EQ(ReadFileWithLimit(path, kSize * 2), GeneratedContent(0, kSize));

  ASSERT_EQ(reporter_.attempts.size(), 3u);
  EXPECT_FALSE(reporter_.attempts[0].success);
  EXPECT_EQ(reporter_.attempts[0].downloaded_size, 5000u);
  EXPECT_TRUE(reporter_.attempts[2].success);
  EXPECT_EQ(reporter_.attempts[2].downloaded_size, kSize);
  EXPECT_EQ(reporter_.module_version, "0.0.0.0");
  EXPECT_GT(reporter_.download_micros, 0);
  EXPECT_EQ(acquisition.download_duration(), reporter_.download_micros);
}

TEST_F(WinModuleAcquisitionTest, StopDuringThePauseEndsAtOnceWithResultTwo) {
  cdn_.SetRule("/setup.arc", R"({"status": 404})");
  WinModuleAcquisition acquisition({cdn_.Url("/setup.arc"), "", ""}, &environment_, &reporter_);
  environment_.quick = false;
  std::thread stopper([this] {
    Sleep(1500);
    stop_.Request();
  });
  const ULONGLONG start = GetTickCount64();
  const DownloadResult result =
      acquisition.GetModule(GetModulePath(scratch_), nullptr, command_line_);
  const ULONGLONG elapsed = GetTickCount64() - start;
  stopper.join();
  EXPECT_EQ(result, DownloadResult::kFailed);
  EXPECT_LT(elapsed, 5000u);
  EXPECT_EQ(RequestedPaths().size(), 1u);
  EXPECT_TRUE(HasRecord(records_, "Max download attempts failed (6)", "DownloadModule"));
}

TEST_F(WinModuleAcquisitionTest, CreationTimeFallsBackToTheLastWriteTime) {
  const FilePath file = scratch_.Append(u"plain.bin");
  ASSERT_TRUE(WriteWholeFile(file, "x"));
  int64_t time = 0;
  ASSERT_TRUE(GetModuleCreationTime(file, &time));
  // Written a moment ago: within a day of now, in microseconds since 1601.
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const int64_t now_micros =
      static_cast<int64_t>(((uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime) / 10);
  EXPECT_LT(std::llabs(now_micros - time), 86'400'000'000LL);
  EXPECT_TRUE(HasRecord(records_, "File version resource is absent in ", "GetModuleCreationTime"));
  EXPECT_TRUE(HasRecord(records_, "Used the last write file time", "GetModuleCreationTime"));
  EXPECT_FALSE(GetModuleCreationTime(scratch_.Append(u"missing"), &time));
}

}  // namespace
}  // namespace lite
