#include "stats/installation_events_win.h"

#include <gtest/gtest.h>

#include "base/registry_win.h"
#include "stats/redirect_host_win.h"
#include "stats/setup_registry_win.h"
#include "stats/stats_test_support_win.h"

namespace lite {
namespace {

using testing::RoutedUrlSender;
using testing::WaitForTargets;
using testing::kStatsPath;

TEST(RedirectHostTest, HostOfTheCanonicalUrl) {
  EXPECT_EQ(RedirectHostName(u"https://mirror.example/dl/Setup.exe"), "mirror.example");
  EXPECT_EQ(RedirectHostName(u"http://m2.example:8080/a b?x=1"), "m2.example");
  EXPECT_EQ(RedirectHostName(u"not a url"), std::nullopt);
  EXPECT_EQ(RedirectHostName(u"file:///C:/x"), std::nullopt);
}

// The events reach the wire with their parameters and the action word the
// known browser version gives; after a cancel the attempt events stay home.
TEST(InstallationEventsTest, EventsOnTheWireAndTheCancelRule) {
  testing::TestCdn cdn;
  ASSERT_TRUE(cdn.Start());
  std::atomic<int32_t> cancel_count{0};
  int64_t download_micros = 3700000;
  int64_t setup_micros = 0;
  int64_t install_micros = 0;
  std::u16string installation_id = u"0A1B2C3D-0000-1111-2222-333344445555";
  {
    InstallStatistics statistics(kInstallerKindLite, u"old_ver\n25.0.0.1\n",
                                 std::make_unique<RoutedUrlSender>(cdn.Url("")));
    InstallationEvents events(statistics, {cancel_count, download_micros, setup_micros,
                                           install_micros, installation_id});
    DownloadAttempt attempt;
    attempt.error = "internet_read-12002";
    attempt.attempt_number = 1;
    attempt.url = u"https://cdn.example/a b";
    events.ReportDownloadAttempt(attempt, u"https://mirror.example/x");
    cancel_count = 1;
    events.ReportDownloadAttempt(attempt, u"");
    events.ReportDownloadFinished();
    setup_micros = 61000000;
    events.ReportSetupExited({true, false, 400, 0});
    events.ReportCheckBox(StatCheckBox::kSendStat);

    const std::vector<std::string> targets = WaitForTargets(cdn, kStatsPath, 5);
    ASSERT_EQ(targets.size(), 5u);
    auto has = [&](size_t i, const std::string& part) {
      return targets[i].find(part) != std::string::npos;
    };
    EXPECT_TRUE(has(0, "-action=download_attempt,-attempt_number=1,"));
    EXPECT_TRUE(has(0, ",-error=internet_read_12002,"));
    EXPECT_TRUE(has(0, ",-redirect=mirror.example,"));
    EXPECT_TRUE(has(0, ",-url=https%253A%252F%252Fcdn.example%252Fa%2520b/*"));
    EXPECT_TRUE(has(1, "-action=download,-brand_id=unknown,-error=attempt_1_internet_read_12002,"));
    EXPECT_TRUE(has(2, "-action=download,-brand_id=unknown,-download_time=3,"));
    EXPECT_TRUE(has(3, "-action=update,-brand_id=unknown,-error=0,"));
    EXPECT_TRUE(has(3, ",-setup_time=61,-stage=setup_exe_exited,"));
    EXPECT_TRUE(has(4, "/cid=72696/path=tlbrowser_reinstall_dialog/vars=-brand_id=unknown,"
                       "-chosen_checkbox=sendstat,-dialog_window=liteinstall,"));

    // Cancelled, so the report says so even though setup succeeded.
    EXPECT_EQ(events.InstallReportUrl(true),
              std::string(endpoints::kInstallReport) +
                  "/get/browser/install?ui=0A1B2C3D-0000-1111-2222-333344445555"
                  "&result=cancelled&time=0&download_time=3&install_time=61");
  }
  RemoveSetupValue(kInstallStatValueName);
}

}  // namespace
}  // namespace lite
