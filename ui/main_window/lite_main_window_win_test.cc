// The window without an engine, driven on the test's thread the way the
// dialog manager and setup drive it: what each screen holds and how the
// window ends. The run with an engine is the UI end-to-end suite's.
#include "ui/main_window/lite_main_window_win.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "base/file_util_win.h"
#include "distribution/brand_info.h"
#include "distribution/distrib_info_params.h"
#include "installer/command_line/installer_command_line.h"
#include "logging/recording_logger_for_testing.h"
#include "ui/controls/control_ids.h"
#include "ui/images/gdiplus_win.h"
#include "ui/layout/installation_window_theme.h"
#include "ui/main_window/welcome_pictures_win.h"

namespace lite {
namespace {

// Parameters read from the switch text without touching the registry.
class TestParams : public DistribInfoParams {
 public:
  explicit TestParams(std::u16string text) : DistribInfoParams(std::move(text)) {
    LoadDistribParams();
  }

 protected:
  bool StoreRegistryValue(const std::u16string&, const std::u16string&) override { return true; }
};

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// The window with setup's start in the test's hands: without an engine
// nothing else starts it.
class WindowUnderTest final : public LiteMainWindow {
 public:
  using LiteMainWindow::LiteMainWindow;
  bool setup_started = false;

 protected:
  bool SetupStarted() const override { return setup_started; }
};

// The window under test, and what the test does once it shows.
WindowUnderTest* g_window = nullptr;
std::function<void(HWND)> g_step;

class LiteMainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token_, &input, nullptr);
  }
  static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(token_); }

  // A Facetune window in English with the parameters |params|.
  INT_PTR Run(const std::u16string& params, std::function<void(HWND)> step) {
    BrandInfo brand(GetUserTempDir());
    brand.ApplyBrandInfo(
        R"({"overridden_features": {"InstallerFacetune2023": {"enabled": true}}})");
    brand.SetInterfaceLanguage("en");
    TestParams distribution(params);
    const InstallerCommandLine command_line =
        InstallerCommandLine::FromWords({u"lite_installer.exe"});
    MainWindowInputs inputs{brand, distribution, command_line};
    inputs.with_engine = false;
    // Wine runs its programs elevated; the window under test does not.
    inputs.elevated = false;
    WindowUnderTest window(inputs);
    g_window = &window;
    g_step = std::move(step);
    SetTimer(nullptr, 0, 20, &StepOnceShown);
    const INT_PTR result = window.RunModal(nullptr);
    g_window = nullptr;
    return result;
  }

  // A timer procedure: stdcall, which a lambda is not on x86.
  static void CALLBACK StepOnceShown(HWND, UINT, UINT_PTR id, DWORD) {
    // Once the dialog manager has shown the window.
    const HWND shown = g_window ? g_window->hwnd() : nullptr;
    if (!shown || !IsWindowVisible(shown)) return;
    KillTimer(nullptr, id);
    g_step(shown);
  }

  static ULONG_PTR token_;
};
ULONG_PTR LiteMainWindowTest::token_ = 0;

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

int ProgressPosition(HWND window) {
  return static_cast<int>(SendDlgItemMessageW(window, kProgressBarId, PBM_GETPOS, 0, 0));
}

// The pictures decoded on the loader's thread arrive whole in every design,
// also when taken a second time (decoded then on the taking thread).
TEST_F(LiteMainWindowTest, WelcomePictureLoaderHandsOverDecodedPictures) {
  for (WindowDesign design :
       {WindowDesign::kFacetune, WindowDesign::kNewIdentity, WindowDesign::kOrigin}) {
    SCOPED_TRACE(static_cast<int>(design));
    WelcomePictureLoader loader(GetThemeSpec(design, WindowsRelease::kWin10, false, 1033), 1.5);
    for (const WelcomePictures& taken : {loader.Take(), loader.Take()}) {
      EXPECT_GT(taken.background.Width(), 0);
      EXPECT_GT(taken.install_button_strip.Width(), 0);
      EXPECT_GT(taken.check_box_strip.Width(), 0);
    }
  }
}

TEST_F(LiteMainWindowTest, InstallSwapsTheWelcomeScreenForTheProgressScreen) {
  const INT_PTR result = Run(u"uac=0", [](HWND window) {
    for (int id : {kInstallButtonId, kDefaultCheckBoxId, kStatisticsCheckBoxId, kCloseButtonId}) {
      EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, id))) << id;
    }
    EXPECT_EQ(GetDlgItem(window, kPinCheckBoxId), nullptr);  // no pin offer in Facetune
    EXPECT_EQ(SendDlgItemMessageW(window, kStatisticsCheckBoxId, BM_GETCHECK, 0, 0), BST_CHECKED);
    // Progress before Install is dropped; Esc only reports.
    SendMessageW(window, WM_SET_PROGRESS, 37, 0);
    SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, kProgressBarId)));

    SendMessageW(window, WM_COMMAND, kInstallButtonId, 0);
    EXPECT_EQ(GetDlgItem(window, kInstallButtonId), nullptr);
    EXPECT_EQ(GetDlgItem(window, kStatisticsCheckBoxId), nullptr);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, kProgressBarId)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, kMinimizeButtonId)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, kCloseButtonId)));  // kept in Facetune
    EXPECT_EQ(ProgressPosition(window), 0);
    SendMessageW(window, WM_SET_PROGRESS, 37, 0);
    EXPECT_EQ(ProgressPosition(window), 37);
    EXPECT_EQ(TextOf(GetDlgItem(window, kProgressTextId)), L"Downloading... 37%");
    // Setup's messages count once setup has been started, as progress the
    // window posts itself.
    SendMessageW(window, RegisterWindowMessageW(L"tolvar.lite.set_import_progress"), 50, 0);
    PumpMessages();
    EXPECT_EQ(ProgressPosition(window), 37);
    g_window->setup_started = true;
    SendMessageW(window, RegisterWindowMessageW(L"tolvar.lite.set_import_progress"), 50, 0);
    PumpMessages();
    EXPECT_EQ(ProgressPosition(window), 90);
    EXPECT_EQ(TextOf(GetDlgItem(window, kProgressTextId)), L"Installing... 90%");
    SendMessageW(window, RegisterWindowMessageW(L"tolvar.lite.set_install_progress"), 6, 0);
    PumpMessages();
    EXPECT_EQ(ProgressPosition(window), 90);
    SendMessageW(window, RegisterWindowMessageW(L"tolvar.lite.set_install_progress"), 5, 0);
    PumpMessages();
    EXPECT_EQ(ProgressPosition(window), 75);
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(result, kWindowClosedBySystem);
}

RECT ScreenRect(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  return rect;
}

TEST_F(LiteMainWindowTest, ProgressScreenReadsAtOnceAndKeepsCancelApartFromClose) {
  const INT_PTR result = Run(u"uac=0&cancel=1", [](HWND window) {
    SendMessageW(window, WM_COMMAND, kInstallButtonId, 0);
    // Before any progress report.
    EXPECT_EQ(TextOf(GetDlgItem(window, kProgressTextId)), L"Downloading... 0%");
    const HWND cancel = GetDlgItem(window, kCancelButtonId);
    const HWND close = GetDlgItem(window, kCloseButtonId);
    ASSERT_TRUE(IsWindowVisible(cancel));
    ASSERT_TRUE(IsWindowVisible(close));
    for (HWND other : {close, GetDlgItem(window, kMinimizeButtonId),
                       GetDlgItem(window, kProgressBarId), GetDlgItem(window, kProgressTextId)}) {
      const RECT a = ScreenRect(cancel);
      const RECT b = ScreenRect(other);
      RECT both;
      EXPECT_FALSE(IntersectRect(&both, &a, &b)) << GetDlgCtrlID(other);
    }
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(result, kWindowClosedBySystem);
}

TEST_F(LiteMainWindowTest, CloseOnTheWelcomeScreenEndsWithItsId) {
  EXPECT_EQ(Run(u"uac=0", [](HWND window) { PostMessageW(window, WM_COMMAND, kCloseButtonId, 0); }),
            kCloseButtonId);
}

TEST_F(LiteMainWindowTest, PresetChoicesSkipTheWelcomeScreenUntilSetupClosesTheWindow) {
  const INT_PTR result = Run(u"def=1&stat=2&first=1&uac=2", [](HWND window) {
    EXPECT_EQ(GetDlgItem(window, kInstallButtonId), nullptr);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, kProgressBarId)));
    EXPECT_EQ(TextOf(GetDlgItem(window, kTitleId)),
              L"Installation started.\nHere's what Browser\nhas to offer");
    g_window->setup_started = true;
    PostMessageW(window, RegisterWindowMessageW(L"tolvar.lite.close_window"), 0, 0);
  });
  EXPECT_EQ(result, kWindowEndedNormally);
}

// Any process of the desktop can post setup's messages; before setup has
// been started they would end the run as if it had finished.
TEST_F(LiteMainWindowTest, SetupMessagesBeforeSetupStartsAreIgnored) {
  std::vector<LogRecord> records;
  SetGlobalLogger(std::make_unique<RecordingLogger>(&records));
  const INT_PTR result = Run(u"def=1&stat=2&first=1&uac=2", [](HWND window) {
    for (const wchar_t* name : {L"tolvar.lite.set_import_progress",
                                L"tolvar.higher_version_exist", L"tolvar.lite.close_window"}) {
      SendMessageW(window, RegisterWindowMessageW(name), 50, 0);
    }
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(ProgressPosition(window), 0);
    EXPECT_EQ(SendMessageW(window, RegisterWindowMessageW(L"tolvar.corp.user_browser_exists"), 0,
                           0),
              0);
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  SetGlobalLogger(nullptr);
  EXPECT_EQ(result, kWindowClosedBySystem);
  for (const char* name : {"tolvar.lite.set_import_progress", "tolvar.higher_version_exist",
                           "tolvar.lite.close_window", "tolvar.corp.user_browser_exists"}) {
    EXPECT_TRUE(HasRecord(records, std::string("Ignored ") + name + ": setup has not been started",
                          "Admit"))
        << name;
  }
  // A window that does not run elevated leaves its filter as it is.
  EXPECT_TRUE(HasRecord(records, "Message filter left unchanged: the window does not run elevated",
                        "OpenFilter"));
}

}  // namespace
}  // namespace lite
