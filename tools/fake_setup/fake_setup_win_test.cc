// The fake setup program as the installer meets it: started with a command
// line and an environment, it records what it saw, reports progress to the
// window it was given and ends with the chosen code.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/file_util_win.h"
#include "base/json/json_reader.h"
#include "base/registry_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/support/child_process_win.h"
#include "tools/fake_setup/notice_messages_win.h"
#include "tools/fake_setup/progress_messages_win.h"
#include "tools/fake_setup/setup_record_win.h"

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
  // A successful installation leaves some values behind ("lang",
  // "AbtConfigResourceFile", "install_stat"): start from none.
  for (const char16_t* name : kHandedOverValueNames) key.DeleteValue(name);
  ASSERT_EQ(key.WriteString(u"lang", u"de"), ERROR_SUCCESS);
  ASSERT_EQ(key.WriteString(u"brand", u"tolvar \u00e9"), ERROR_SUCCESS);
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

// A window that keeps every registered setup message it receives, posted or
// sent, and answers the corporate question with |answer|.
class MessageSink {
 public:
  explicit MessageSink(LRESULT answer = 1) : answer_(answer) {
    for (const wchar_t* name :
         {kSetInstallProgressMessage, kSetImportProgressMessage, kCloseWindowMessage,
          kHigherVersionExistMessage, kCorporateHigherVersionExistMessage,
          kCorporateBrowserExistsMessage}) {
      names_[RegisterWindowMessageW(name)] = UTF16ToUTF8(FromWide(name));
    }
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = &MessageSink::WindowProc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"FakeSetupTestSink";
    RegisterClassW(&window_class);
    window_ = CreateWindowExW(0, L"FakeSetupTestSink", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~MessageSink() { DestroyWindow(window_); }

  HWND window() const { return window_; }
  std::u16string WindowSwitch() const {
    return u"--progress-window=" +
           UTF8ToUTF16(std::to_string(reinterpret_cast<uintptr_t>(window_)));
  }

  // Messages sent to the window, in the order they came.
  const std::vector<std::pair<std::string, WPARAM>>& sent() const { return sent_; }

  // Pumps until |process| has ended (or |timeout_ms|), then takes what is
  // left in the queue: every post was queued before the poster ended. The
  // posted messages, in order.
  std::vector<std::pair<std::string, WPARAM>> Collect(const Process& process, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    bool ended = false;
    while (!ended && GetTickCount64() < deadline) {
      ended = WaitForSingleObject(process.handle(), 0) == WAIT_OBJECT_0;
      MSG msg;
      while (PeekMessageW(&msg, window_, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      if (!ended) {
        MsgWaitForMultipleObjects(1, std::array<HANDLE, 1>{process.handle()}.data(), FALSE, 50,
                                  QS_ALLINPUT);
      }
    }
    return received_;
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* sink = reinterpret_cast<MessageSink*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!sink || !sink->names_.count(message)) {
      return DefWindowProcW(window, message, wparam, lparam);
    }
    const std::string& name = sink->names_[message];
    // A sent message is handled before anything posted is taken from the
    // queue, so the two orders are kept apart.
    (InSendMessage() ? sink->sent_ : sink->received_).emplace_back(name, wparam);
    return name == "tolvar.corp.user_browser_exists" ? sink->answer_ : 0;
  }

  const LRESULT answer_;
  std::map<UINT, std::string> names_;
  std::vector<std::pair<std::string, WPARAM>> received_;
  std::vector<std::pair<std::string, WPARAM>> sent_;
  HWND window_ = nullptr;
};

using Received = std::vector<std::pair<std::string, WPARAM>>;

const Received kInstallProgress = {{"tolvar.lite.set_install_progress", 5},
                                   {"tolvar.lite.set_install_progress", 7}};
const Received kImportProgressAndClose = {{"tolvar.lite.set_import_progress", 0},
                                          {"tolvar.lite.set_import_progress", 50},
                                          {"tolvar.lite.set_import_progress", 100},
                                          {"tolvar.lite.close_window", 0}};

Received Concatenated(std::initializer_list<Received> parts) {
  Received all;
  for (const Received& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(FakeSetupTest, PostsProgressToTheGivenWindowAroundTheDelay) {
  MessageSink sink;
  ASSERT_TRUE(sink.window());
  const ULONGLONG start = GetTickCount64();
  Process setup = Start({sink.WindowSwitch()}, {{u"TOLVAR_FAKE_SETUP_DELAY_MS", u"1500"}});
  ASSERT_TRUE(setup.is_valid());
  const Received received = sink.Collect(setup, 30000);
  EXPECT_GE(GetTickCount64() - start, 1500u);
  EXPECT_EQ(received, Concatenated({kInstallProgress, kImportProgressAndClose}));
  EXPECT_TRUE(sink.sent().empty());
  int code = -1;
  ASSERT_TRUE(setup.WaitForExit(30000, &code));
  EXPECT_EQ(code, 0);
}

TEST_F(FakeSetupTest, NoticesAndTheCorporateQuestionAsTheEnvironmentAsks) {
  const Received question = {{"tolvar.corp.user_browser_exists", 0}};
  const struct {
    const char* name;
    const char16_t* variable;
    LRESULT answer;
    Received posted;
    std::optional<int> recorded_answer;
  } cases[] = {
      {"newer version", u"TOLVAR_FAKE_SETUP_NEWER_VERSION", 1,
       Concatenated({kInstallProgress, {{"tolvar.higher_version_exist", 0}}}), std::nullopt},
      {"corporate newer version", u"TOLVAR_FAKE_SETUP_CORPORATE_NEWER_VERSION", 1,
       Concatenated({kInstallProgress, {{"tolvar.corp.user_higher_version_exist", 0}}}),
       std::nullopt},
      {"corporate question, yes", u"TOLVAR_FAKE_SETUP_CORPORATE_QUESTION", 1,
       Concatenated({kInstallProgress, kImportProgressAndClose}), 1},
      {"corporate question, no", u"TOLVAR_FAKE_SETUP_CORPORATE_QUESTION", 0,
       kInstallProgress, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileIfExists(record_);
    MessageSink sink(c.answer);
    Process setup = Start({sink.WindowSwitch()},
                          {{c.variable, u"1"}, {u"TOLVAR_FAKE_SETUP_EXIT_CODE", u"17"}});
    ASSERT_TRUE(setup.is_valid());
    EXPECT_EQ(sink.Collect(setup, 30000), c.posted);
    EXPECT_EQ(sink.sent(), c.recorded_answer ? question : Received());
    int code = -1;
    ASSERT_TRUE(setup.WaitForExit(30000, &code));
    EXPECT_EQ(code, 17);
    std::optional<Value> record = Record();
    ASSERT_TRUE(record);
    const Value* recorded = record->FindPath("corporate_question_result");
    if (c.recorded_answer) {
      ASSERT_TRUE(recorded && recorded->is_int());
      EXPECT_EQ(*recorded->GetIfInt(), *c.recorded_answer);
    } else {
      EXPECT_EQ(recorded, nullptr);
    }
  }
}

}  // namespace
}  // namespace lite
