// The "Open" action of the already-installed dialog starts the browser the
// registry records, as a user pressing it would see.
#include "ui/dialogs/shell_dialog_actions_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/file_util_win.h"
#include "base/json/json_reader.h"
#include "base/registry_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "installer/run/installed_browser_win.h"
#include "installer/run/ui_runtime_win.h"
#include "logging/recording_logger_for_testing.h"
#include "tests/support/child_process_win.h"
#include "ui/dialogs/dialog_factory_win.h"
#include "ui/dialogs/modal_dialog_driver_for_testing_win.h"
#include "ui/dialogs/redesigned_dialog_win.h"

namespace lite {
namespace {

class ShellDialogActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
    scratch_ = testing::MakeScratchDir();
    ASSERT_FALSE(scratch_.empty());
  }
  void TearDown() override {
    SetGlobalLogger(nullptr);
    DeletePathRecursively(scratch_);
  }

  std::vector<LogRecord> records_;
  FilePath scratch_;
};

TEST_F(ShellDialogActionsTest, OpenOfTheAlreadyInstalledDialogStartsTheRecordedBrowser) {
  // A system-level installation whose browser.exe is the fake setup program:
  // started, it writes what it was started as to the record file.
  const FilePath app_dir = scratch_.Append(u"Tolvar\\Application");
  ASSERT_TRUE(CreateDirectoryWithParents(app_dir.Append(u"24.1.0.1\\Installer")));
  const FilePath browser = app_dir.Append(u"browser.exe");
  ASSERT_TRUE(CopyFileW(AsWide(UTF8ToUTF16(TL_FAKE_SETUP_EXE)), AsWide(browser.value()), FALSE));
  RegistryKey key;
  ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, kInstalledBrowserKey, KEY_SET_VALUE), ERROR_SUCCESS);
  ASSERT_EQ(key.WriteString(u"pv", u"24.1.0.1"), ERROR_SUCCESS);
  ASSERT_EQ(key.WriteString(u"UninstallString",
                            app_dir.value() + u"\\24.1.0.1\\Installer\\setup.exe"),
            ERROR_SUCCESS);
  const FilePath record = scratch_.Append(u"started.json");
  SetEnvironmentVariableW(L"TOLVAR_FAKE_SETUP_RECORD", AsWide(record.value()));

  ScopedUiRuntime runtime;
  ShellDialogActions actions;
  DialogContext context;
  context.actions = &actions;
  std::unique_ptr<InstallerDialog> dialog = ErrorDialogProvider(context, false).CreateForError(6);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(static_cast<RedesignedDialog*>(dialog.get())->kind(), DialogKind::kAlreadyInstalled);
  const INT_PTR result = RunDialogAndInspect(*dialog, [](HWND window) {
    ClickButton(window, 1);
    return true;
  });
  SetEnvironmentVariableW(L"TOLVAR_FAKE_SETUP_RECORD", nullptr);
  key.DeleteValue(u"pv");
  key.DeleteValue(u"UninstallString");

  EXPECT_EQ(result, 1);
  EXPECT_TRUE(HasRecord(records_, "Starting the installed browser: " + UTF16ToUTF8(browser.value()),
                        "StartInstalledBrowser"));
  ASSERT_TRUE(testing::WaitForFileText(record, "arguments", 30000));
  const std::optional<Value> started =
      ReadJson(ReadFileWithLimit(record, 1 << 20).value_or(""), nullptr);
  ASSERT_TRUE(started);
  const Value::List* arguments = started->FindPath("arguments")->GetIfList();
  ASSERT_TRUE(arguments && !arguments->empty());
  EXPECT_EQ(*(*arguments)[0].GetIfString(), UTF16ToUTF8(browser.value()));
}

TEST_F(ShellDialogActionsTest, ABrowserThatCannotBeStartedIsLogged) {
  const struct {
    FilePath application_dir;
    std::string logged;
  } cases[] = {
      {FilePath(), "The browser's installation directory is not known"},
      // A directory without browser.exe.
      {scratch_, "Cannot start " + UTF16ToUTF8(scratch_.Append(u"browser.exe").value())},
  };
  for (const auto& c : cases) {
    records_.clear();
    ShellDialogActions([&] { return c.application_dir; }).StartInstalledBrowser();
    EXPECT_TRUE(HasRecord(records_, c.logged, "StartInstalledBrowser")) << c.logged;
  }
}

// A dialog's address that is not https on one of the product's hosts, or
// that carries characters a command line would split on, is not handed to
// the shell.
TEST_F(ShellDialogActionsTest, AddressesOutsideThePolicyAreNotOpened) {
  const char* const refused[] = {
      "http://legal.example/eula",
      "https://evil.example/eula",
      "https://legal.example/eula?lang=ru\"y",
      "https://legal.example/eula?lang=ru\r\nX: 1",
      "https://legal.example/eula?lang=ru --new-window",
      "https://legal.example@evil.example/",
      "file:///C:/Windows/notepad.exe",
  };
  ShellDialogActions actions(UrlOpenPolicy({"https://legal.example"}));
  for (const char* url : refused) {
    records_.clear();
    actions.OpenUrl(url);
    bool refused_logged = false;
    for (const LogRecord& r : records_) {
      EXPECT_EQ(r.message.find("Opening"), std::string::npos) << url;
      EXPECT_EQ(r.message.find("legal.example"), std::string::npos) << "logged raw: " << url;
      refused_logged |= r.message.find("Refused to open") == 0;
    }
    EXPECT_TRUE(refused_logged) << url;
  }
}

}  // namespace
}  // namespace lite
