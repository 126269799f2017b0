#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/string_table_win.h"
#include "distribution/brand_info.h"
#include "installer/run/ui_runtime_win.h"
#include "logging/recording_logger_for_testing.h"
#include "stats/landing_url.h"
#include "ui/controls/control_ids.h"
#include "ui/dialogs/browser_site.h"
#include "ui/dialogs/classic_dialog_win.h"
#include "ui/dialogs/dialog_actions.h"
#include "ui/dialogs/dialog_factory_win.h"
#include "ui/dialogs/modal_dialog_driver_for_testing_win.h"
#include "ui/dialogs/redesigned_dialog_win.h"

namespace lite {
namespace {

// COM, the common controls and GDI+, as the installer starts them.
class UiRuntimeEnvironment : public testing::Environment {
 public:
  void SetUp() override { runtime_ = std::make_unique<ScopedUiRuntime>(); }
  void TearDown() override { runtime_.reset(); }

 private:
  std::unique_ptr<ScopedUiRuntime> runtime_;
};
testing::Environment* const kUiRuntime =
    testing::AddGlobalTestEnvironment(new UiRuntimeEnvironment);

constexpr uint16_t kEnglish = 1033;

class RecordingActions : public DialogActions {
 public:
  void OpenUrl(const std::string& url) override { opened.push_back(url); }
  void StartInstalledBrowser() override { ++browser_starts; }

  std::vector<std::string> opened;
  int browser_starts = 0;
};

std::wstring Text(int id, uint16_t language = kEnglish) {
  if (id == 0) return std::wstring();
  const std::u16string text = LoadStringInLanguage(GetModuleHandleW(nullptr), language, id);
  return std::wstring(text.begin(), text.end());
}

const FilePath kLogPath(u"C:\\users\\tester\\Temp\\lite_installer.log");

DialogContext TestContext(DialogActions* actions) {
  DialogContext context;
  context.actions = actions;
  context.log_path = kLogPath;
  SetDialogAddresses("tb", {{"lang", "ru"}, {"foo", "1"}}, &context);
  return context;
}

// The visible static of the template without an id.
HWND MessageStatic(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == -1) return child;
  }
  return nullptr;
}

struct KindCase {
  DialogKind kind;
  int click;  // control id; 2 is the Esc key's command
  int result;
  std::string opened;  // the page the first button opened, if any
  int browser_starts;
};

TEST(RedesignedDialogTest, TextsAndButtonsOfEveryKind) {
  const std::string landing = BuildFullInstallerLandingUrl("tb", {{"lang", "ru"}, {"foo", "1"}});
  const KindCase cases[] = {
      {DialogKind::kNewerVersionInstalled, 1, 1, "", 0},
      {DialogKind::kCorporateNewerVersion, IDCANCEL, 213, "", 0},
      {DialogKind::kCorporateUpdate, 212, 212, "", 0},
      {DialogKind::kOutdatedRevocationProvider, 213, 213, "", 0},
      {DialogKind::kInstallFailedDownload, 1, 1, landing, 0},
      {DialogKind::kInstallInterrupted, 212, 212, "", 0},
      {DialogKind::kX64OnX32, 1, 1, BrowserSiteUrl("tb"), 0},
      {DialogKind::kAlreadyInstalled, 1, 1, "", 1},
      {DialogKind::kFolderLocked, 1, 1, FeedbackPageUrl("tb"), 0},
      {DialogKind::kAnotherInstallation, 1, 1, FeedbackPageUrl("tb"), 0},
      {DialogKind::kInstallFailedLog, 1, 1, FeedbackPageUrl("tb"), 0},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    const RedesignedDialogSpec& spec = GetDialogSpec(c.kind);
    RecordingActions actions;
    RedesignedDialog dialog(TestContext(&actions), c.kind);
    const INT_PTR result = RunDialogAndInspect(dialog, [&](HWND window) {
      EXPECT_EQ(ControlText(GetDlgItem(window, kTitleId)), Text(spec.title_id));
      EXPECT_FALSE(Text(spec.title_id).empty());
      const HWND message = MessageStatic(window);
      if (spec.message_id == 0) {
        EXPECT_FALSE(IsWindowVisible(message));
      } else {
        EXPECT_TRUE(IsWindowVisible(message));
        std::wstring expected = Text(spec.message_id);
        if (spec.append_log_path) expected += L"\r\n" + std::wstring(kLogPath.value().begin(),
                                                                      kLogPath.value().end());
        EXPECT_EQ(ControlText(message), expected);
      }
      EXPECT_EQ(ControlText(GetDlgItem(window, 1)), Text(spec.button1_id));
      EXPECT_EQ(IsWindowVisible(GetDlgItem(window, 212)) != FALSE, spec.button2_id != 0);
      if (spec.button2_id) {
        EXPECT_EQ(ControlText(GetDlgItem(window, 212)), Text(spec.button2_id));
      }
      if (c.click == IDCANCEL) {
        SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
      } else {
        ClickButton(window, c.click);
      }
      return true;
    });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(actions.opened.size(), c.opened.empty() ? 0u : 1u);
    if (!c.opened.empty() && !actions.opened.empty()) {
      EXPECT_EQ(actions.opened[0], c.opened);
    }
    EXPECT_EQ(actions.browser_starts, c.browser_starts);
  }
}

TEST(RedesignedDialogTest, GrowsToItsTextAndHasNoMessageLineWithoutMessage) {
  RedesignedDialog with_message(TestContext(nullptr), DialogKind::kNewerVersionInstalled);
  RECT with_message_rect = {};
  RunDialogAndInspect(with_message, [&](HWND window) {
    GetWindowRect(window, &with_message_rect);
    return false;
  });
  RedesignedDialog without_message(TestContext(nullptr), DialogKind::kAlreadyInstalled);
  RunDialogAndInspect(without_message, [&](HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    // Title and button only: the message line and its gap are left out.
    EXPECT_LT(rect.bottom - rect.top, with_message_rect.bottom - with_message_rect.top);
    RECT title, button;
    GetWindowRect(GetDlgItem(window, kTitleId), &title);
    GetWindowRect(GetDlgItem(window, 1), &button);
    EXPECT_EQ(button.top - title.bottom, 24);
    return false;
  });
}

TEST(ClassicDialogTest, VariantsAndResults) {
  struct ClassicCase {
    ClassicDialogVariant variant;
    int click;
    int result;
  } cases[] = {
      {ClassicDialogVariant::kResume, 212, 212},
      {ClassicDialogVariant::kResume, 1, 1},
      {ClassicDialogVariant::kNotEnoughDiskSpace, 1, 1},
      {ClassicDialogVariant::kCorporateUpdate, 212, 212},
      {ClassicDialogVariant::kNewerVersionInstalled, 1, 1},
  };
  for (const ClassicCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.variant));
    const ClassicDialogSpec& spec = GetClassicDialogSpec(c.variant);
    ClassicDialog dialog(TestContext(nullptr), c.variant);
    const INT_PTR result = RunDialogAndInspect(dialog, [&](HWND window) {
      EXPECT_EQ(ControlText(GetDlgItem(window, kTitleId)), Text(spec.title_id));
      EXPECT_EQ(IsWindowVisible(MessageStatic(window)) != FALSE, spec.message_id != 0);
      EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, kCloseButtonId)));
      EXPECT_EQ(ControlText(GetDlgItem(window, 1)), Text(spec.button1_id));
      if (spec.buttons_right_aligned) {
        RECT client, button2;
        GetClientRect(window, &client);
        GetWindowRect(GetDlgItem(window, 212), &button2);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&button2), 2);
        EXPECT_EQ(client.right - button2.right, 30);
      }
      ClickButton(window, c.click);
      return true;
    });
    EXPECT_EQ(result, c.result);
  }
}

TEST(DialogFactoryTest, StyleFollowsTheBrandAndErrorsTheirDialog) {
  BrandInfo classic_brand(FilePath(u"C:\\t\\"));
  classic_brand.ApplyBrandInfo(R"({"brand_id": "int"})");
  classic_brand.ApplyDefaults();
  DialogFactory classic(classic_brand, {}, TestContext(nullptr), false);
  auto resume = classic.CreateInterruptDialog();
  ASSERT_NE(dynamic_cast<ClassicDialog*>(resume.get()), nullptr);
  EXPECT_EQ(static_cast<ClassicDialog*>(resume.get())->variant(), ClassicDialogVariant::kResume);
  EXPECT_EQ(RunDialogAndInspect(*resume, [](HWND window) {
              ClickButton(window, 212);
              return true;
            }),
            212);
  EXPECT_NE(dynamic_cast<ClassicDialog*>(classic.CreateNoticeDialog(DialogKind::kCorporateUpdate).get()),
            nullptr);
  EXPECT_EQ(classic.context().browser_site_url, BrowserSiteUrl("int"));

  BrandInfo redesign_brand(FilePath(u"C:\\t\\"));
  redesign_brand.ApplyBrandInfo(
      R"({"overridden_features": {"InstallerFacetune2023":
          {"enabled": true, "params": {"dialogsRedesign": true}}}})");
  redesign_brand.ApplyDefaults();
  DialogFactory redesign(redesign_brand, {}, TestContext(nullptr), true);
  auto interrupt = redesign.CreateInterruptDialog();
  ASSERT_NE(dynamic_cast<RedesignedDialog*>(interrupt.get()), nullptr);
  EXPECT_EQ(static_cast<RedesignedDialog*>(interrupt.get())->kind(),
            DialogKind::kInstallInterrupted);
  // The main window runs its interrupt question again after "Proceed".
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(RunDialogAndInspect(*interrupt, [](HWND window) {
                ClickButton(window, 1);
                return true;
              }),
              1);
  }

  const ErrorDialogProvider errors = redesign.CreateErrorDialogProvider();
  EXPECT_EQ(errors.CreateForError(0), nullptr);
  auto generic = errors.CreateForError(2);
  ASSERT_NE(generic, nullptr);
  EXPECT_EQ(static_cast<RedesignedDialog*>(generic.get())->kind(), DialogKind::kInstallFailedLog);
  RunDialogAndInspect(*generic, [](HWND window) {
    EXPECT_NE(ControlText(MessageStatic(window)).find(L"lite_installer.log"), std::wstring::npos);
    return false;
  });
}

}  // namespace
}  // namespace lite
