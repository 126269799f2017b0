#include "installer/engine/download_statistics_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <map>

#include "base/file_util_win.h"
#include "base/scoped_handle_win.h"
#include "installer/command_line/installer_command_line.h"
#include "installer/engine/installation_report_win.h"
#include "net/downloader_win.h"
#include "net/transfer_stop_win.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "stats/install_statistics_win.h"
#include "stats/installation_events_win.h"
#include "tests/cdn/test_cdn_win.h"
#include "tests/support/child_process_win.h"
#include "tests/support/test_installation_win.h"

namespace lite {
namespace {

using testing::EventVars;
using testing::TestCdn;

class RetryNow : public WinAcquisitionEnvironment {
 public:
  using WinAcquisitionEnvironment::WinAcquisitionEnvironment;
  bool Pause(uint32_t) override { return WinAcquisitionEnvironment::Pause(10); }
};

TEST(DownloadStatisticsTest, FailedThenSuccessfulAttemptGiveTheEventSequence) {
  TestCdn cdn;
  ASSERT_TRUE(cdn.Start());
  // The compiled-in statistics host leads to the test CDN.
  ASSERT_EQ(_putenv_s("TOLVAR_LITE_ENDPOINT_BASE", cdn.Url("").c_str()), 0);
  cdn.SetRule("/setup.arc", R"({"generate": 100000, "drop_after": 10000, "times": 1})");
  cdn.SetRule("/setup.arc", R"({"generate": 100000})", true);

  const FilePath scratch = testing::MakeScratchDir();
  TransferStop stop;
  std::atomic<int32_t> cancel_count{0};
  int64_t download_micros = 0, setup_micros = 0, install_micros = 0;
  const std::u16string installation_id = u"ID";
  {
    InstallStatistics statistics(0, u"");
    InstallationEvents events(statistics, {cancel_count, download_micros, setup_micros,
                                           install_micros, installation_id});
    DownloadStatisticsReporter reporter(statistics, events, nullptr, &download_micros);
    RetryNow environment(&stop, nullptr);
    WinModuleAcquisition acquisition({cdn.Url("/setup.arc"), "", ""}, &environment, &reporter);
    InstallerCommandLine command_line;
    command_line.AppendSwitch("download-x32");
    ASSERT_EQ(acquisition.GetModule(GetModulePath(scratch), nullptr, command_line),
              DownloadResult::kSucceeded);
    EXPECT_GT(download_micros, 0);
    // The sender delivers in the background; give it the time it needs.
    for (int i = 0; i < 100; ++i) {
      std::optional<Value> sent = cdn.Requests("/installstats/");
      if (sent && sent->GetIfList()->size() >= 5) break;
      Sleep(100);
    }
  }
  _putenv_s("TOLVAR_LITE_ENDPOINT_BASE", "");

  std::optional<Value> sent = cdn.Requests("/installstats/");
  ASSERT_TRUE(sent);
  std::vector<std::map<std::string, std::string>> events;
  for (const Value& request : *sent->GetIfList()) {
    events.push_back(EventVars(*request.FindPath("path")->GetIfString()));
  }
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0]["action"], "download");
  EXPECT_EQ(events[0]["stage"], "started");

  EXPECT_EQ(events[1]["action"], "download_attempt");
  EXPECT_EQ(events[1]["status"], "failed");
  EXPECT_EQ(events[1]["attempt_number"], "1");
  EXPECT_EQ(events[1]["downloaded_size"], "10000");
  EXPECT_EQ(events[1]["total_size"], "100000");
  const std::string error = events[1]["error"];
  EXPECT_FALSE(error.empty());

  EXPECT_EQ(events[2]["action"], "download");
  EXPECT_EQ(events[2]["stage"], "error");
  // "attempt-1-" + the attempt's error, with the dashes sent as "_".
  EXPECT_EQ(events[2]["error"], "attempt_1_" + error);

  EXPECT_EQ(events[3]["action"], "download_attempt");
  EXPECT_EQ(events[3]["status"], "success");
  EXPECT_EQ(events[3]["attempt_number"], "2");
  EXPECT_EQ(events[3]["downloaded_size"], "100000");
  EXPECT_EQ(events[3].count("error"), 0u);

  EXPECT_EQ(events[4]["action"], "download");
  EXPECT_EQ(events[4]["stage"], "finished");
  EXPECT_EQ(events[4].count("download_time"), 1u);
  // The archive's version and kind reach only the events sent after it
  // arrived.
  EXPECT_EQ(events[4]["new_ver"], "0.0.0.0");
  EXPECT_EQ(events[4]["install_type"], "normal");
  EXPECT_EQ(events[3].count("new_ver"), 0u);
  EXPECT_EQ(events[0]["installer_type"], "lite");
  DeletePathRecursively(scratch);
}

// Cancels the installation while the attempt event is being built, that is
// after the attempt was found not cancelled.
class CancelOnAttemptLogged : public Logger {
 public:
  explicit CancelOnAttemptLogged(std::atomic<int32_t>* cancel_count)
      : cancel_count_(cancel_count) {}
  void Emit(const LogRecord& record) override {
    if (record.message == "action=download_attempt") cancel_count_->store(1);
  }

 private:
  std::atomic<int32_t>* cancel_count_;
};

// A failed attempt goes out with its download error or not at all: a cancel
// between the two must not leave the attempt without its error.
TEST(DownloadStatisticsTest, CancelDuringAFailedAttemptKeepsItsErrorEvent) {
  TestCdn cdn;
  ASSERT_TRUE(cdn.Start());
  ASSERT_EQ(_putenv_s("TOLVAR_LITE_ENDPOINT_BASE", cdn.Url("").c_str()), 0);
  std::atomic<int32_t> cancel_count{0};
  int64_t download_micros = 0, setup_micros = 0, install_micros = 0;
  const std::u16string installation_id;
  SetGlobalLogger(std::make_unique<CancelOnAttemptLogged>(&cancel_count));
  std::vector<std::string> targets;
  {
    InstallStatistics statistics(0, u"");
    InstallationEvents events(statistics, {cancel_count, download_micros, setup_micros,
                                           install_micros, installation_id});
    DownloadStatisticsReporter reporter(statistics, events, nullptr, &download_micros);
    DownloadAttemptReport failed;
    failed.url = "https://cdn.example/setup.arc";
    failed.attempt_number = 1;
    failed.error = "internet_read-12002";
    reporter.OnDownloadAttempt(failed);
    ASSERT_EQ(cancel_count.load(), 1);
    failed.attempt_number = 2;
    reporter.OnDownloadAttempt(failed);  // cancelled before it: neither event

    for (int i = 0; i < 30; ++i) {
      std::optional<Value> sent = cdn.Requests("/installstats/");
      if (sent && sent->GetIfList()->size() >= 3) break;
      Sleep(100);
    }
    std::optional<Value> sent = cdn.Requests("/installstats/");
    ASSERT_TRUE(sent);
    for (const Value& request : *sent->GetIfList()) {
      targets.push_back(*request.FindPath("path")->GetIfString());
    }
  }
  _putenv_s("TOLVAR_LITE_ENDPOINT_BASE", "");
  SetGlobalLogger(nullptr);

  ASSERT_EQ(targets.size(), 2u);
  EXPECT_EQ(EventVars(targets[0])["action"], "download_attempt");
  EXPECT_EQ(EventVars(targets[1])["error"], "attempt_1_internet_read_12002");
}

TEST(InstallationReportTest, FinalReportGoesToTheReportHostAndAFailureIsOnlyLogged) {
  TestCdn cdn;
  ASSERT_TRUE(cdn.Start());
  ASSERT_EQ(_putenv_s("TOLVAR_LITE_ENDPOINT_BASE", cdn.Url("").c_str()), 0);
  std::vector<LogRecord> records;
  SetGlobalLogger(std::make_unique<RecordingLogger>(&records));
  std::atomic<int32_t> cancel_count{0};
  int64_t download_micros = 2'500'000, setup_micros = 0, install_micros = 61'000'000;
  const std::u16string installation_id = u"5A1B";
  {
    InstallStatistics statistics(0, u"");
    InstallationEvents events(statistics, {cancel_count, download_micros, setup_micros,
                                           install_micros, installation_id});
    const auto download = [](const std::u16string& url, DownloadSink* sink,
                             std::string* error) {
      Downloader downloader;
      bool ok = downloader.OpenDownload(url, sink);
      while (ok && downloader.ReadNext() != 0) {
      }
      ok = ok && downloader.FinalizeDownload();
      *error = downloader.last_error();
      return ok;
    };
    ReportInstallationFinished(download, events, true);
    cancel_count = 1;
    cdn.SetRule("/get/browser/install", R"({"status": 500})");
    ReportInstallationFinished(download, events, true);
  }
  _putenv_s("TOLVAR_LITE_ENDPOINT_BASE", "");
  SetGlobalLogger(nullptr);

  std::optional<Value> sent = cdn.Requests("/get/browser/install");
  ASSERT_TRUE(sent);
  ASSERT_EQ(sent->GetIfList()->size(), 2u);
  EXPECT_EQ(*(*sent->GetIfList())[0].FindPath("query")->GetIfString(),
            "ui=5A1B&result=success&time=61&download_time=2");
  EXPECT_EQ(*(*sent->GetIfList())[1].FindPath("query")->GetIfString(),
            "ui=5A1B&result=cancelled&time=61&download_time=2");
  EXPECT_TRUE(HasRecord(records, "Cannot report installation status: final_query_info-500-",
                        "ReportInstallationFinished"));
}

}  // namespace
}  // namespace lite
