#include "stats/installation_event_params.h"

#include <gtest/gtest.h>

#include "stats/launch_event_name.h"

namespace lite {
namespace {

TEST(InstallationEventParamsTest, DownloadAttemptFailedThenError) {
  DownloadAttempt attempt;
  attempt.error = "internet_read-12002";
  attempt.attempt_number = 1;
  attempt.downloaded_size = 1048576;
  attempt.total_size = 10485760;
  attempt.url = u"https://cdn.example/dl/Setup.exe";
  attempt.redirect_host = "mirror.example";
  attempt.x64 = true;
  EXPECT_EQ(DownloadAttemptParams(attempt),
            (StatParams{{"action", u"download_attempt"},
                        {"attempt_number", u"1"},
                        {"downloaded_size", u"1048576"},
                        {"error", u"internet_read-12002"},
                        {"redirect", u"mirror.example"},
                        {"status", u"failed"},
                        {"total_size", u"10485760"},
                        {"url", u"https%253A%252F%252Fcdn.example%252Fdl%252FSetup.exe"},
                        {"x64", u"1"}}));
  EXPECT_EQ(DownloadErrorParams(attempt),
            (StatParams{{"action", u"download"},
                        {"error", u"attempt-1-internet_read-12002"},
                        {"stage", u"error"}}));

  // A success has no error; an empty URL, a missing or empty redirect host
  // and the 32-bit class leave their keys out.
  DownloadAttempt success;
  success.success = true;
  success.error = "ignored";
  success.attempt_number = 2;
  success.redirect_host = "";
  const StatParams params = DownloadAttemptParams(success);
  EXPECT_EQ(params.at("status"), u"success");
  for (const char* absent : {"error", "url", "redirect", "x64"}) {
    EXPECT_EQ(params.count(absent), 0u) << absent;
  }
}

TEST(InstallationEventParamsTest, SetupEventsActionUacAndError) {
  EXPECT_EQ(SetupLaunchedParams("25.1.0.0", true, true),
            (StatParams{{"action", u"update"}, {"stage", u"setup_exe_launched"}, {"uac", u"1"}}));
  EXPECT_EQ(SetupLaunchedParams("", true, false).at("uac"), u"0");
  EXPECT_EQ(SetupLaunchedParams("", false, true).at("uac"), u"100");
  EXPECT_EQ(SetupLaunchedParams("", true, false).at("action"), u"setup");

  struct Case {
    SetupExit exit;
    const char16_t* error;  // null: no error key
  } cases[] = {
      {{false, false, 400, 0}, u"FailedToStart"},
      {{false, true, 0, 0}, u"FailedToStart"},
      {{true, false, 400, 0}, u"0"},
      {{true, false, 400, 3}, nullptr},
      {{true, false, 400, 1}, nullptr},
      {{true, false, 400, 5}, nullptr},
      {{true, false, 400, -2}, u"-2"},
      {{true, true, 400, 0}, nullptr},  // the elevated copy never reported
      {{true, true, 0, 7}, u"0"},
      {{true, true, 402, 0}, u"402"},
  };
  for (const Case& c : cases) {
    const StatParams params = SetupExitedParams("", c.exit, 125500000);
    EXPECT_EQ(params.at("setup_time"), u"125");
    EXPECT_EQ(params.at("stage"), u"setup_exe_exited");
    if (c.error) {
      EXPECT_EQ(params.count("error") ? params.at("error") : u"<none>", c.error);
    } else {
      EXPECT_EQ(params.count("error"), 0u) << c.exit.exit_code << " " << c.exit.engine_result;
    }
  }
}

TEST(InstallationEventParamsTest, WindowEvents) {
  EXPECT_EQ(InstallerStartedParams(DpiPercent(1.125), 1280, 800),
            (StatParams{{"action", u"installer_started"}, {"dpi", u"113"},
                        {"resolution", u"1280x800"}}));
  EXPECT_EQ(DpiPercent(1.5049), 150);  // 1.125 and 1.5 are exact: a true half rounds up
  EXPECT_EQ(DpiPercent(1.0), 100);
  EXPECT_EQ(InstallButtonParams(true, 255),
            (StatParams{{"action", u"install_browser_button_clicked"},
                        {"checkbox_default", u"1"},
                        {"checkbox_sendstat", u"1"}}));
  EXPECT_EQ(InstallButtonParams(false, 0).at("checkbox_sendstat"), u"0");
  EXPECT_EQ(ButtonParams(StatButton::kUacDeclined),
            (StatParams{{"clicked_button", u"uac_declined"}, {"dialog_window", u"liteinstall"}}));
  EXPECT_EQ(CheckBoxParams(StatCheckBox::kPinTrial).at("chosen_checkbox"), u"tlpin_trial");
  EXPECT_EQ(LinkParams(u"").at("clicked_link"), u"");
  EXPECT_EQ(DownloadFinishedParams(2500000).at("download_time"), u"2");
}

TEST(LaunchEventNameTest, QuotesStrippedBackslashesReplacedLowerCased) {
  EXPECT_EQ(LaunchEventName(u"\"C:\\Users\\Me\\Tolvar\\Browser.EXE\""),
            u"Global\\c:!users!me!tolvar!browser.exe");
  EXPECT_EQ(LaunchEventName(u"\"ab"), u"Global\\ab");
  EXPECT_EQ(LaunchEventName(u"\"\"\""), u"Global\\\"");
  EXPECT_EQ(LaunchEventName(u"ab"), std::nullopt);
}

}  // namespace
}  // namespace lite
