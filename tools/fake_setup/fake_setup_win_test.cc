// The fake setup program as the installer meets it: started with a command
// line and an environment, it records what it saw, reports progress to the
// window it was given and ends with the chosen code.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "base/file_util_win.h"
#include "base/json/json_reader.h"
#include "base/registry_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/support/child_process_win.h"
#include "tools/fake_setup/progress_messages_win.h"

namespace lite {
namespace {

constexpr char16_t kKey[] = u"Software\\Tolvar\\TolvarBrowser";

class FakeSetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = testing::MakeScratchDir();
    ASSERT_FALSE(scratch_.empty());
    record_ = scratch_.Append(u"record.json");
  }
  void TearDown() override { DeletePathRecursively(scratch_); }

  // Starts the fake with |switches| and |environment| added to the record
  // path; the process, still running.
  Process Start(const std::vector<std::u16string>& switches,
                std::map<std::u16string, std::u16string> environment = {}) {
    std::vector<std::u16string> words = {UTF8ToUTF16(TL_FAKE_SETUP_EXE)};
    words.insert(words.end(), switches.begin(), switches.end());
    environment[u"TOLVAR_FAKE_SETUP_RECORD"] = record_.value();
    LaunchOptions options;
    options.environment = testing::EnvironmentWith(environment);
    return LaunchProcess(testing::JoinCommandLine(words), options);
  }

  std::optional<Value> Record() {
    std::optional<std::string> text = ReadFileWithLimit(record_, 1 << 20);
    return text ? ReadJson(*text, nullptr) : std::nullopt;
  }

  FilePath scratch_;
  FilePath record_;
};

TEST_F(FakeSetupTest, RecordsCommandLineAndHandedOverValuesAndEndsWithTheChosenCode) {
  RegistryKey key;
  ASSERT_EQ(key.Create(HKEY_CURRENT_USER, kKey, KEY_SET_VALUE), ERROR_SUCCESS);
  ASSERT_EQ(key.WriteString(u"lang", u"de"), ERROR_SUCCESS);
  ASSERT_EQ(key.WriteString(u"brand", u"tolvar \u00e9"), ERROR_SUCCESS);
  key.DeleteValue(u"PartnerFile");
  // Not a handed-over value: not recorded.
  ASSERT_EQ(key.WriteString(u"UnrelatedValue", u"x"), ERROR_SUCCESS);

  Process setup = Start({u"--progress-window=0", u"--path=C:\\a b\\c", u"--flag"},
                        {{u"TOLVAR_FAKE_SETUP_EXIT_CODE", u"-2"}});
  ASSERT_TRUE(setup.is_valid());
  int code = 0;
  ASSERT_TRUE(setup.WaitForExit(30000, &code));
  key.DeleteValue(u"lang");
  key.DeleteValue(u"brand");
  key.DeleteValue(u"UnrelatedValue");
  EXPECT_EQ(code, -2);

  std::optional<Value> record = Record();
  ASSERT_TRUE(record);
  const Value::List* arguments = record->FindPath("arguments")->GetIfList();
  ASSERT_TRUE(arguments);
  ASSERT_EQ(arguments->size(), 4u);
  EXPECT_EQ(*(*arguments)[2].GetIfString(), "--path=C:\\a b\\c");
  EXPECT_EQ(*(*arguments)[3].GetIfString(), "--flag");
  EXPECT_NE(record->FindPath("command_line")->GetIfString()->find("\"--path=C:\\a b\\c\""),
            std::string::npos);
  const Value::Dict* values = record->FindPath("registry")->GetIfDict();
  ASSERT_TRUE(values);
  EXPECT_EQ(*values, (Value::Dict{{"brand", Value("tolvar \xc3\xa9")}, {"lang", Value("de")}}));
}

// A window that keeps every registered setup message it receives.
class MessageSink {
 public:
  MessageSink() {
    for (const wchar_t* name :
         {kSetInstallProgressMessage, kSetImportProgressMessage, kCloseWindowMessage}) {
      names_[RegisterWindowMessageW(name)] = UTF16ToUTF8(FromWide(name));
    }
    window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                              nullptr);
  }
  ~MessageSink() { DestroyWindow(window_); }

  HWND window() const { return window_; }

  // Pumps until the close request or |timeout_ms|.
  std::vector<std::pair<std::string, WPARAM>> Collect(DWORD timeout_ms) {
    std::vector<std::pair<std::string, WPARAM>> received;
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (GetTickCount64() < deadline) {
      MSG msg;
      while (PeekMessageW(&msg, window_, 0, 0, PM_REMOVE)) {
        auto name = names_.find(msg.message);
        if (name == names_.end()) continue;
        received.emplace_back(name->second, msg.wParam);
        if (msg.message == RegisterWindowMessageW(kCloseWindowMessage)) return received;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
    }
    return received;
  }

 private:
  std::map<UINT, std::string> names_;
  HWND window_ = nullptr;
};

TEST_F(FakeSetupTest, PostsProgressToTheGivenWindowAroundTheDelay) {
  MessageSink sink;
  ASSERT_TRUE(sink.window());
  const ULONGLONG start = GetTickCount64();
  Process setup = Start({u"--progress-window=" +
                         UTF8ToUTF16(std::to_string(reinterpret_cast<uintptr_t>(sink.window())))},
                        {{u"TOLVAR_FAKE_SETUP_DELAY_MS", u"1500"}});
  ASSERT_TRUE(setup.is_valid());
  const std::vector<std::pair<std::string, WPARAM>> received = sink.Collect(30000);
  EXPECT_GE(GetTickCount64() - start, 1500u);
  const std::vector<std::pair<std::string, WPARAM>> expected = {
      {"tolvar.lite.set_install_progress", 5}, {"tolvar.lite.set_install_progress", 7},
      {"tolvar.lite.set_import_progress", 0},  {"tolvar.lite.set_import_progress", 50},
      {"tolvar.lite.set_import_progress", 100}, {"tolvar.lite.close_window", 0}};
  EXPECT_EQ(received, expected);
  int code = -1;
  ASSERT_TRUE(setup.WaitForExit(30000, &code));
  EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace lite
