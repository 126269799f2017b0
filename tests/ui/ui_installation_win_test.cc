// Interactive installations driven through the installer's window as a user
// drives it: each case asserts what the user sees (the window, its dialogs),
// how the run ends (exit code, log) and what the statistics server gets.
// Screenshots of what was seen go to ui_e2e_shots/ in the build directory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "base/process_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/support/child_process_win.h"
#include "tests/ui/dialog_kinds_win.h"
#include "tests/ui/installer_window_win.h"
#include "tests/ui/interactive_installation_win.h"
#include "tests/ui/screen_pixels_win.h"
#include "tests/ui/ui_installation_test_win.h"
#include "tests/ui/wait_win.h"

namespace lite {
namespace testing {
namespace {

using ::testing::AnyOf;

// Install pressed on the welcome screen: the progress bar follows the slow
// download and then the setup program's messages, and the run ends with the
// setup program's exit code.
TEST_F(UiInstallationTest, WholeInstallationEndsWithSetupsExitCode) {
  // About ten seconds of download, so that the progress screen sees it.
  const InstallerWindow window = Begin({Archive::kSigned, R"({"rate": 30000})"},
                                       {u"--distr-info-params=uac=2"}, {kSetupExitCode, 4000});
  ASSERT_TRUE(window.hwnd());
  EXPECT_TRUE(window.IsControlVisible(kInstall));
  EXPECT_FALSE(window.IsControlVisible(kProgressBar));

  ASSERT_TRUE(window.Click(kInstall));
  ASSERT_TRUE(Within("the progress bar", [&] { return window.IsControlVisible(kProgressBar); },
                     kWindowTimeoutMs));
  EXPECT_FALSE(window.HasControl(kInstall)) << "the welcome screen's button outlives it";
  EXPECT_TRUE(Within("the download's progress past 5 %",
                     [&] { return window.ProgressPosition().value_or(0) > 5; }, kWindowTimeoutMs));
  Shot(window, "downloading");
  const std::vector<int> seen = FollowProgress(window, kRunTimeoutMs);

  EXPECT_EQ(ExitCode(kRunTimeoutMs), kSetupExitCode);
  // The download fills 5..40, setup's install stages give 75 and 79 (held
  // while the fake setup waits), the import 80..100.
  const std::set<int> values(seen.begin(), seen.end());
  EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](int p) { return p > 5 && p < 40; }))
      << ::testing::PrintToString(seen);
  EXPECT_TRUE(values.count(79)) << ::testing::PrintToString(seen);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end())) << ::testing::PrintToString(seen);
  EXPECT_TRUE(run_.SetupRecord()) << "setup did not run";
  EXPECT_EQ(run_.LogLinesWith("MainWindow::OnImportProgress: 100").size(), 1u);
  EXPECT_EQ(run_.LogLinesWith("Installer exit with code: 42").size(), 1u);

  const std::vector<StatEvent> events = run_.StatEvents();
  EXPECT_EQ(EventsNamed(events, "install_browser_button_clicked").size(), 1u);
  EXPECT_EQ(EventsNamed(events, "install").size(), 1u) << "button event";
  const std::vector<std::string> reports = run_.FinalReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("&result=success"), std::string::npos) << reports[0];
}

// Close on the welcome screen ends the run at once as cancelled by the user.
TEST_F(UiInstallationTest, CloseOnWelcomeScreenEndsWith500) {
  const InstallerWindow window = Begin({Archive::kSigned}, {});
  ASSERT_TRUE(window.hwnd());
  ASSERT_TRUE(window.Click(kClose));
  EXPECT_EQ(ExitCode(kRunTimeoutMs), 500);
  EXPECT_EQ(run_.LogLinesWith("User cancelled installation.").size(), 1u);
  EXPECT_EQ(run_.LogLinesWith("Installer exit with code: 500").size(), 1u);
  EXPECT_FALSE(run_.SetupRecord()) << "setup ran";
}

// Esc is reported as the "cancel" button and nothing else happens.
TEST_F(UiInstallationTest, EscOnlyReportsCancel) {
  const InstallerWindow window = Begin({Archive::kSigned}, {});
  ASSERT_TRUE(window.hwnd());
  ASSERT_TRUE(window.PressKey(VK_ESCAPE));
  ASSERT_TRUE(EventWithin({{"clicked_button", "cancel"}}, kWindowTimeoutMs));
  // The window answers after handling the key: it is still up, on its
  // welcome screen, and the run goes on.
  ASSERT_TRUE(window.ProgressPosition());
  EXPECT_TRUE(window.IsVisible());
  EXPECT_TRUE(window.IsControlVisible(kInstall));
  EXPECT_FALSE(run_.WaitForExit(0));
  const std::vector<StatEvent> buttons = ButtonEvents();
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(buttons[0].at("dialog_window"), "liteinstall");

  window.Click(kClose);
  EXPECT_EQ(ExitCode(kRunTimeoutMs), 500);
}

// Each toggle of a check box is reported, and the install-button event
// carries the states the user left them in.
TEST_F(UiInstallationTest, CheckBoxTogglesAreReported) {
  const InstallerWindow window = Begin({Archive::kSigned}, {}, {kSetupExitCode, 0});
  ASSERT_TRUE(window.hwnd());
  const std::optional<bool> make_default = window.IsChecked(kDefaultCheckBox);
  const std::optional<bool> statistics = window.IsChecked(kStatisticsCheckBox);
  ASSERT_TRUE(make_default && statistics) << "check boxes 109 and 110 do not answer";

  ASSERT_TRUE(window.Click(kDefaultCheckBox));
  ASSERT_TRUE(EventWithin({{"chosen_checkbox", "default"}}, kWindowTimeoutMs));
  ASSERT_TRUE(window.Click(kStatisticsCheckBox));
  ASSERT_TRUE(EventWithin({{"chosen_checkbox", "sendstat"}}, kWindowTimeoutMs));
  EXPECT_EQ(window.IsChecked(kDefaultCheckBox), !*make_default);
  EXPECT_EQ(window.IsChecked(kStatisticsCheckBox), !*statistics);
  Shot(window, "toggled");

  ASSERT_TRUE(window.Click(kInstall));
  EXPECT_TRUE(EventWithin({{"action", "install_browser_button_clicked"},
                                 {"checkbox_default", *make_default ? "0" : "1"},
                                 {"checkbox_sendstat", *statistics ? "0" : "1"}},
                                kWindowTimeoutMs));
  EXPECT_TRUE(ExitCode(kRunTimeoutMs));
}

// With both choices preset and "first=1" the window opens on its progress
// screen, installs without a click and ends when setup asks it to close.
TEST_F(UiInstallationTest, SkippedFirstScreenEndsThroughCloseWindow) {
  const InstallerWindow window =
      Begin({Archive::kSigned}, {u"--distr-info-params=def=1&stat=1&first=1&uac=2"},
            {kSetupExitCode, 2000});
  ASSERT_TRUE(window.hwnd());
  EXPECT_FALSE(window.HasControl(kInstall));
  EXPECT_TRUE(window.IsControlVisible(kProgressBar));
  const std::optional<int> code = ExitCode(kRunTimeoutMs);
  ASSERT_TRUE(code);
  EXPECT_TRUE(run_.SetupRecord()) << "setup did not run";
  EXPECT_EQ(run_.LogLinesWith("--> Installer > MainWindow::OnCloseWindow").size(), 1u);
  EXPECT_TRUE(EventsNamed(run_.StatEvents(), "install_browser_button_clicked").empty());
  EXPECT_EQ(*code, kSetupExitCode);
}

struct RejectedArchiveCase {
  const char* name;
  std::vector<std::u16string> switches;
  SeenDialog dialog;
};

void PrintTo(const RejectedArchiveCase& c, std::ostream* out) { *out << c.name; }

class RejectedArchiveDialogTest : public UiInstallationTest,
                                  public ::testing::WithParamInterface<RejectedArchiveCase> {};

// An archive that fails verification after Install: the window gives way to
// the error dialog, which ends the run with 402.
TEST_P(RejectedArchiveDialogTest, ShowsErrorDialogAndEndsWith402) {
  const InstallerWindow window = Begin({Archive::kTampered}, GetParam().switches);
  ASSERT_TRUE(window.hwnd());
  ASSERT_TRUE(window.Click(kInstall));
  const std::optional<InstallerDialog> dialog = WaitForDialog(window);
  ASSERT_TRUE(dialog) << "no error dialog";
  EXPECT_EQ(Recognize(dialog), GetParam().dialog)
      << UTF16ToUTF8(dialog->title) << " / " << UTF16ToUTF8(dialog->button1);
  if (GetParam().dialog == SeenDialog::kFailedLog) {
    EXPECT_NE(dialog->message.find(run_.log_path().value()), std::u16string::npos)
        << UTF16ToUTF8(dialog->message);
  }
  EXPECT_FALSE(window.IsVisible()) << "the main window stays up behind the error";
  ASSERT_TRUE(InstallerWindow(dialog->hwnd).Click(kClose));
  EXPECT_EQ(ExitCode(kRunTimeoutMs), 402);
  EXPECT_FALSE(run_.SetupRecord()) << "setup ran";
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, RejectedArchiveDialogTest,
    ::testing::Values(
        RejectedArchiveCase{"Download", {}, SeenDialog::kFailedDownload},
        RejectedArchiveCase{
            "Log", {u"--disable-error-dialog-download-button"}, SeenDialog::kFailedLog}),
    RowName());

struct InterruptCase {
  const char* name;
  int button;
  std::vector<std::u16string> switches;
};

void PrintTo(const InterruptCase& c, std::ostream* out) { *out << c.name; }

class InterruptTest : public UiInstallationTest,
                      public ::testing::WithParamInterface<InterruptCase> {};

// Close (or Cancel, where the distribution shows it) while installing asks
// first: Proceed goes on, Stop ends the run as cancelled.
TEST_P(InterruptTest, AsksFirstAndStopEndsWith500) {
  // A download of about half a minute keeps the progress screen up.
  const InstallerWindow window =
      Begin({Archive::kSigned, R"({"rate": 6000})"}, GetParam().switches);
  ASSERT_TRUE(window.hwnd());
  ASSERT_TRUE(window.Click(kInstall));
  ASSERT_TRUE(Within("the progress bar", [&] { return window.IsControlVisible(kProgressBar); },
                     kWindowTimeoutMs));
  ASSERT_TRUE(window.IsControlVisible(GetParam().button));
  Shot(window, "progress");

  ASSERT_TRUE(window.Click(GetParam().button));
  std::optional<InstallerDialog> question = WaitForDialog(window);
  ASSERT_THAT(Recognize(question), AnyOf(SeenDialog::kInterrupted, SeenDialog::kClassicResume));
  ASSERT_TRUE(InstallerWindow(question->hwnd).Click(kInstall));  // Proceed
  ASSERT_TRUE(Within("the question's end", [&] { return !IsWindowVisible(question->hwnd); },
                     kWindowTimeoutMs));
  EXPECT_TRUE(window.IsVisible());
  // The download goes on and the progress screen follows it.
  const int progress = window.ProgressPosition().value_or(0);
  EXPECT_TRUE(Within("progress after Proceed",
                     [&] { return window.ProgressPosition().value_or(0) > progress; },
                     kWindowTimeoutMs));
  EXPECT_FALSE(run_.WaitForExit(0)) << "Proceed ended the run";

  ASSERT_TRUE(window.Click(GetParam().button));
  question = WaitForDialog(window);
  ASSERT_THAT(Recognize(question), AnyOf(SeenDialog::kInterrupted, SeenDialog::kClassicResume));
  ASSERT_TRUE(InstallerWindow(question->hwnd).Click(kCancel));  // Stop
  EXPECT_EQ(ExitCode(kRunTimeoutMs), 500);
  EXPECT_EQ(run_.LogLinesWith("User cancelled installation.").size(), 1u);
  EXPECT_FALSE(run_.SetupRecord()) << "setup ran";
  const std::vector<std::string> reports = run_.FinalReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("&result=cancelled"), std::string::npos) << reports[0];
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, InterruptTest,
    ::testing::Values(InterruptCase{"Close", kClose, {}},
                      InterruptCase{"Cancel", kCancel, {u"--distr-info-params=cancel=1"}}),
    RowName());

// Minimize on the progress screen and the taskbar's restore are reported
// as buttons, and the window follows them.
TEST_F(UiInstallationTest, MinimizeAndRestoreAreReported) {
  const InstallerWindow window = Begin({Archive::kSigned, R"({"rate": 6000})"}, {});
  ASSERT_TRUE(window.hwnd());
  ASSERT_TRUE(window.Click(kInstall));
  ASSERT_TRUE(Within("the Minimize button", [&] { return window.IsControlVisible(kMinimize); },
                     kWindowTimeoutMs));

  ASSERT_TRUE(window.Click(kMinimize));
  ASSERT_TRUE(EventWithin({{"clicked_button", "minimize"}}, kWindowTimeoutMs));
  EXPECT_TRUE(IsIconic(window.hwnd()));
  ASSERT_TRUE(PostMessageW(window.hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0));
  ASSERT_TRUE(EventWithin({{"clicked_button", "restore"}}, kWindowTimeoutMs));
  EXPECT_TRUE(Within("the restored window",
                     [&] { return !IsIconic(window.hwnd()) && window.IsVisible(); },
                     kWindowTimeoutMs));
  Shot(window, "restored");

  ASSERT_TRUE(window.Click(kClose));
  const std::optional<InstallerDialog> question = WaitForDialog(window);
  ASSERT_TRUE(question);
  ASSERT_TRUE(InstallerWindow(question->hwnd).Click(kCancel));  // Stop
  EXPECT_EQ(ExitCode(kRunTimeoutMs), 500);
}

struct SetupDialogCase {
  const char* name;
  const char16_t* setup_variable;  // what makes the fake setup ask
  SeenDialog dialog;               // seen as it is or in its classic form
  SeenDialog classic_dialog;
  bool window_stays;               // the progress screen stays under the dialog
  bool setup_runs_on;              // setup is still running when the user answers
  int button;                      // the user's answer
  int corporate_answer;            // what setup records of it; -1: nothing
};

void PrintTo(const SetupDialogCase& c, std::ostream* out) { *out << c.name; }

class SetupDialogTest : public UiInstallationTest,
                        public ::testing::WithParamInterface<SetupDialogCase> {};

// The setup program puts a notice or a question to the user through the
// window: the dialog comes up over (or instead of) the progress screen, the
// answer reaches setup, and the run ends with setup's exit code.
TEST_P(SetupDialogTest, AnswerEndsWithSetupsExitCode) {
  const SetupDialogCase& c = GetParam();
  FakeSetup setup{kSetupExitCode, 0, {{c.setup_variable, u"1"}}};
  // A notice ends the window while setup may still run: its exit code must
  // still become the run's.
  if (c.setup_runs_on) setup.environment[u"TOLVAR_FAKE_SETUP_CLOSE_DELAY_MS"] = u"15000";
  const InstallerWindow window =
      Begin({Archive::kSigned}, {u"--distr-info-params=uac=2"}, setup);
  ASSERT_TRUE(window.hwnd());
  ASSERT_TRUE(window.Click(kInstall));
  const std::optional<InstallerDialog> dialog = WaitForDialog(window);
  ASSERT_THAT(Recognize(dialog), AnyOf(c.dialog, c.classic_dialog));
  EXPECT_EQ(window.IsVisible(), c.window_stays) << "the progress screen under the dialog";
  if (c.setup_runs_on) {
    EXPECT_FALSE(run_.WaitForEvent({{"stage", "setup_exe_exited"}}, 0)) << "setup ended first";
  }
  ASSERT_TRUE(InstallerWindow(dialog->hwnd).Click(c.button));
  EXPECT_EQ(ExitCode(kRunTimeoutMs), kSetupExitCode);
  if (c.corporate_answer < 0) return;
  const std::optional<Value> record = run_.SetupRecord();
  ASSERT_TRUE(record);
  const Value* answer = record->FindPath("corporate_question_result");
  ASSERT_TRUE(answer && answer->is_int());
  EXPECT_EQ(*answer->GetIfInt(), c.corporate_answer);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, SetupDialogTest,
    ::testing::Values(
        // A newer browser is installed: "Got it" closes the notice.
        SetupDialogCase{"NewerVersionNotice", u"TOLVAR_FAKE_SETUP_NEWER_VERSION",
                        SeenDialog::kNewerVersion, SeenDialog::kClassicNewerVersion, false, true,
                        kInstall, -1},
        SetupDialogCase{"CorporateNewerVersionNotice",
                        u"TOLVAR_FAKE_SETUP_CORPORATE_NEWER_VERSION",
                        SeenDialog::kCorporateNewerVersion,
                        SeenDialog::kClassicCorporateNewerVersion, false, false, kInstall, -1},
        // The corporate question; the message result tells setup the answer.
        SetupDialogCase{"CorporateUpdate", u"TOLVAR_FAKE_SETUP_CORPORATE_QUESTION",
                        SeenDialog::kCorporateUpdate, SeenDialog::kClassicCorporateUpdate, true,
                        false, kInstall, 1},
        SetupDialogCase{"CorporateCancel", u"TOLVAR_FAKE_SETUP_CORPORATE_QUESTION",
                        SeenDialog::kCorporateUpdate, SeenDialog::kClassicCorporateUpdate, true,
                        false, kCancel, 0}),
    RowName());

// A second installer started while the first shows its window brings that
// window to the front and exits with 600.
TEST_F(UiInstallationTest, SecondInstallerBringsWindowToFrontAndEndsWith600) {
  const InstallerWindow window = Begin({Archive::kSigned}, {});
  ASSERT_TRUE(window.hwnd());
  // Another program's window comes in front of the installer's first.
  const Process other =
      LaunchProcess(JoinCommandLine({BuildDir().Append(u"minimal_dialog.exe").value()}));
  const std::optional<InstallerWindow> other_window =
      InstallerWindow::WaitFor(other.id(), u"Minimal", kWindowTimeoutMs);
  ASSERT_TRUE(other_window) << "no window of minimal_dialog.exe within " << kWindowTimeoutMs
                            << " ms";
  ASSERT_TRUE(Within("minimal_dialog.exe's window in front",
                     [&] { return GetForegroundWindow() == other_window->hwnd(); },
                     kWindowTimeoutMs));

  const Process second = run_.StartAnother({});
  ASSERT_TRUE(second.is_valid());
  int code = 0;
  ASSERT_TRUE(second.WaitForExit(kRunTimeoutMs, &code))
      << "the second installer did not end within " << kRunTimeoutMs << " ms";
  EXPECT_EQ(code, 600);
  EXPECT_EQ(run_.LogLinesWith("Master installer process id: " + std::to_string(run_.process_id()))
                .size(),
            1u);
  // Other suites show windows on the same display at the same time; one of
  // theirs in front says nothing about the installer.
  const HWND front = GetForegroundWindow();
  DWORD front_owner = 0;
  GetWindowThreadProcessId(front, &front_owner);
  if (front_owner == run_.process_id() || front_owner == second.id() ||
      front_owner == other.id() || front_owner == 0) {
    EXPECT_EQ(front, window.hwnd());
  } else {
    GTEST_LOG_(INFO) << "another program's window is in front; not checked";
  }
  other_window->Click(IDOK);
  window.Click(kClose);
  EXPECT_EQ(ExitCode(kRunTimeoutMs), 500);
}

// Elevation mode 1 restarts the installer elevated as the window opens;
// Wine grants "runas" without a prompt, so setup runs in the elevated copy
// and the first installer, which has no exit code of setup's, ends with 400.
TEST_F(UiInstallationTest, ElevationModeOneRunsSetupInTheCopyAndEndsWith400) {
  const InstallerWindow window =
      Begin({Archive::kSigned}, {u"--distr-info-params=uac=1"}, {kSetupExitCode, 0});
  ASSERT_TRUE(window.hwnd());
  ASSERT_TRUE(LogLineWithin("Start installer as admin", kWindowTimeoutMs));
  ASSERT_TRUE(window.Click(kInstall));
  EXPECT_EQ(ExitCode(kRunTimeoutMs), 400);
  EXPECT_TRUE(run_.SetupRecord()) << "setup did not run";
  EXPECT_EQ(run_.LogLinesWith("RunModule results: success=1").size(), 1u);
  EXPECT_TRUE(run_.LogLinesWith("Declined running the installer as admin").empty());
}

// A download that fails while the welcome screen shows is not shown until
// the user presses Install. Every attempt is refused, but the attempt
// policy pauses 15 s between its six attempts: this case takes over 75 s.
TEST_F(UiInstallationTest, DownloadErrorBeforeInstallIsShownAfterInstall) {
  const InstallerWindow window = Begin({Archive::kSigned, R"({"status": 404})"}, {});
  ASSERT_TRUE(window.hwnd());
  ASSERT_TRUE(LogLineWithin("Max download attempts failed (6)", 2 * kRunTimeoutMs));
  // The window stays on its welcome screen; no dialog comes up by itself.
  EXPECT_TRUE(window.ProgressPosition());
  EXPECT_TRUE(window.IsControlVisible(kInstall));
  EXPECT_EQ(VisibleDialogsOf(run_.process_id()).size(), 1u);
  Shot(window, "failed-before-install");

  ASSERT_TRUE(window.Click(kInstall));
  const std::optional<InstallerDialog> dialog = WaitForDialog(window);
  EXPECT_EQ(Recognize(dialog), SeenDialog::kFailedDownload);
  ASSERT_TRUE(dialog);
  ASSERT_TRUE(InstallerWindow(dialog->hwnd).Click(kClose));
  EXPECT_EQ(ExitCode(kRunTimeoutMs), 401);
}

}  // namespace
}  // namespace testing
}  // namespace lite
