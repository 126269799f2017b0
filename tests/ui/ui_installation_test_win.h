// The fixture of the interactive end-to-end suites: one installation of
// lite_installer_e2e.exe driven through its window, with waits that say what
// they waited for, screenshots of what was seen (ui_e2e_shots/ in the build
// directory) and readers of how the run ended.
#ifndef TESTS_UI_UI_INSTALLATION_TEST_WIN_H_
#define TESTS_UI_UI_INSTALLATION_TEST_WIN_H_

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/ui/dialog_kinds_win.h"
#include "tests/ui/installer_window_win.h"
#include "tests/ui/interactive_installation_win.h"
#include "tests/ui/screen_pixels_win.h"
#include "tests/ui/wait_win.h"

namespace lite {
namespace testing {

constexpr int kInstall = 1;
constexpr int kDefaultCheckBox = 109;
constexpr int kStatisticsCheckBox = 110;
constexpr int kCancel = 212;
constexpr int kClose = 213;
constexpr int kMinimize = 214;
constexpr int kProgressBar = 215;
constexpr int kCaptionString = 400;

// The fake setup's exit code in runs that reach it: not one of the codes
// the installer treats specially.
constexpr int kSetupExitCode = 42;

// Parameterised cases are named after their row.
struct RowName {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
    return info.param.name;
  }
};

class UiInstallationTest : public ::testing::Test {
 protected:
  UiInstallationTest() : strings_(BuildDir().Append(u"lite_installer_e2e.exe")) {
    // The case's screenshots of an earlier run go; only this run's stay.
    WIN32_FIND_DATAW found;
    const std::u16string pattern = ShotPath(u"*").value();
    HANDLE search = FindFirstFileW(AsWide(pattern), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      DeleteFileW(AsWide(ShotsDir().Append(FromWide(found.cFileName)).value()));
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }

  // What the CDN serves at the setup URLs, and how (test_cdn.py rule fields
  // as JSON; none: at once).
  struct Served {
    Archive archive = Archive::kSigned;
    std::string rule;
  };

  // Serves |served|, starts the installer with |switches| and waits for its
  // window; a window without a handle when any of it failed.
  InstallerWindow Begin(const Served& served, const std::vector<std::u16string>& switches,
                        const FakeSetup& setup = {}) {
    if (!run_.Serve(served.archive, served.rule)) {
      ADD_FAILURE() << "the test CDN did not come up";
      return InstallerWindow(nullptr);
    }
    if (!run_.Start(switches, setup)) {
      ADD_FAILURE() << "the installer did not start";
      return InstallerWindow(nullptr);
    }
    return OpenWindow();
  }

  InstallerWindow OpenWindow() {
    std::optional<InstallerWindow> window = InstallerWindow::WaitFor(
        run_.process_id(), strings_.Get(kCaptionString), kWindowTimeoutMs);
    if (!window) {
      ADD_FAILURE() << "no installer window within " << kWindowTimeoutMs << " ms; "
                    << run_.State() << "; whole log: "
                    << ::testing::PrintToString(run_.LogLinesWith(""));
      return InstallerWindow(nullptr);
    }
    Shot(*window, "opened");
    return *window;
  }

  // Waits for a dialog of the installer other than its main window.
  std::optional<InstallerDialog> WaitForDialog(const InstallerWindow& main) {
    HWND found = nullptr;
    EXPECT_TRUE(Within(
        "a dialog of the installer beside its main window",
        [&] {
          for (HWND dialog : VisibleDialogsOf(run_.process_id())) {
            if (dialog != main.hwnd()) found = dialog;
          }
          return found != nullptr;
        },
        kWindowTimeoutMs));
    if (!found) return std::nullopt;
    // Its texts are set while it initialises; read them once it is painted.
    EXPECT_TRUE(Within("the dialog's button text",
                       [&] { return !ReadInstallerDialog(found).button1.empty(); },
                       kWindowTimeoutMs));
    InstallerDialog dialog = ReadInstallerDialog(found);
    Shot(InstallerWindow(found), "dialog");
    return dialog;
  }

  // Every wait below gives up after its time-out; its failure tells what it
  // waited for, how long, and where the installer stood.
  ::testing::AssertionResult Waited(bool seen, const std::string& what, DWORD timeout_ms) {
    if (seen) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << what << " not seen within " << timeout_ms << " ms; " << run_.State();
  }

  template <typename Condition>
  ::testing::AssertionResult Within(const std::string& what, Condition condition,
                                    DWORD timeout_ms) {
    return Waited(WaitUntil(condition, timeout_ms), what, timeout_ms);
  }

  ::testing::AssertionResult EventWithin(const StatEvent& wanted, DWORD timeout_ms) {
    ::testing::AssertionResult result = Waited(
        run_.WaitForEvent(wanted, timeout_ms),
        "the statistics event " + ::testing::PrintToString(wanted), timeout_ms);
    if (!result) result << "; events so far: " << ::testing::PrintToString(run_.StatEventsSoFar());
    return result;
  }

  ::testing::AssertionResult LogLineWithin(const std::string& text, DWORD timeout_ms) {
    return Waited(run_.WaitForLogLine(text, timeout_ms), "the log line \"" + text + "\"",
                  timeout_ms);
  }

  // The installer's exit code; a failure when it did not end in time.
  std::optional<int> ExitCode(DWORD timeout_ms = kRunTimeoutMs) {
    const std::optional<int> code = run_.WaitForExit(timeout_ms);
    if (!code) ADD_FAILURE() << Waited(false, "the installer's exit", timeout_ms).message();
    return code;
  }

  SeenDialog Recognize(const std::optional<InstallerDialog>& dialog) const {
    return dialog ? strings_.Recognize(*dialog) : SeenDialog::kUnknown;
  }

  static FilePath ShotsDir() { return BuildDir().Append(u"ui_e2e_shots"); }

  // <case>-<suffix> in the screenshot directory.
  static FilePath ShotPath(const std::u16string& suffix) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name) {
      if (c == '/') c = '_';
    }
    return ShotsDir().Append(UTF8ToUTF16(name) + u"-" + suffix);
  }

  // Saves what the screen shows of |window| as <case>-<n>-<what>.png, once
  // painted; a window whose progress keeps moving is taken as it is.
  void Shot(const InstallerWindow& window, const std::string& what) {
    CreateDirectoryW(AsWide(ShotsDir().value()), nullptr);
    const std::string suffix = std::to_string(++shots_) + "-" + what + ".png";
    if (std::optional<ScreenPixels> pixels = window.SettledPicture(200, 3000)) {
      SavePng(*pixels, ShotPath(UTF8ToUTF16(suffix)).value());
    }
  }

  // The same for a rectangle of the screen: a prompt with the window it
  // sits over.
  void ShotOf(const RECT& rect, const std::string& what) {
    CreateDirectoryW(AsWide(ShotsDir().value()), nullptr);
    const std::string suffix = std::to_string(++shots_) + "-" + what + ".png";
    if (std::optional<ScreenPixels> pixels = SettledCapture(rect, 200, 3000)) {
      SavePng(*pixels, ShotPath(UTF8ToUTF16(suffix)).value());
    }
  }

  // Keeps reading the progress bar until the installer ends; every value
  // seen, in order, without repeats.
  std::vector<int> FollowProgress(const InstallerWindow& window, DWORD timeout_ms) {
    std::vector<int> seen;
    WaitUntil(
        [&] {
          if (std::optional<int> position = window.ProgressPosition()) {
            if (seen.empty() || seen.back() != *position) seen.push_back(*position);
          }
          return run_.WaitForExit(0).has_value();
        },
        timeout_ms, 20);
    return seen;
  }

  std::vector<StatEvent> ButtonEvents() {
    std::vector<StatEvent> buttons;
    for (const StatEvent& event : run_.StatEventsSoFar()) {
      if (event.count("clicked_button")) buttons.push_back(event);
    }
    return buttons;
  }

  InteractiveInstallation run_;
  InstallerStrings strings_;
  int shots_ = 0;
};

}  // namespace testing
}  // namespace lite

#endif  // TESTS_UI_UI_INSTALLATION_TEST_WIN_H_
