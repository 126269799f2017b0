#include "ui/main_window/setup_messages_win.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "logging/recording_logger_for_testing.h"

namespace lite {
namespace {

// What the filter was asked to let through, by the window under test.
std::vector<std::pair<HWND, UINT>> g_opened;

bool RecordFilterChange(HWND window, UINT message) {
  g_opened.emplace_back(window, message);
  return true;
}

class SetupMessagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_opened.clear();
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
  }
  void TearDown() override { SetGlobalLogger(nullptr); }

  std::vector<LogRecord> records_;
};

constexpr const char* kNames[] = {
    "tolvar.lite.set_install_progress",      "tolvar.lite.set_import_progress",
    "tolvar.lite.close_window",              "tolvar.higher_version_exist",
    "tolvar.corp.user_higher_version_exist", "tolvar.corp.user_browser_exists",
};

UINT Registered(const char* name) { return RegisterWindowMessageA(name); }

TEST_F(SetupMessagesTest, FilterOpensOnlyInAnElevatedWindow) {
  const HWND window = reinterpret_cast<HWND>(0x1234);
  const UINT own = Registered("tolvar.lite.move_window");

  SetupMessages(false, &RecordFilterChange).OpenFilter(window, own);
  EXPECT_TRUE(g_opened.empty());
  EXPECT_TRUE(HasRecord(records_, "Message filter left unchanged: the window does not run elevated",
                        "OpenFilter"));

  SetupMessages(true, &RecordFilterChange).OpenFilter(window, own);
  std::vector<std::pair<HWND, UINT>> expected;
  for (const char* name : kNames) expected.emplace_back(window, Registered(name));
  expected.emplace_back(window, own);
  EXPECT_EQ(g_opened, expected);
}

TEST_F(SetupMessagesTest, EachMessageCountsOnlyOnceSetupHasBeenStarted) {
  const SetupMessages messages(false, &RecordFilterChange);
  EXPECT_FALSE(messages.Find(Registered("tolvar.lite.move_window")));
  EXPECT_FALSE(messages.Find(WM_APP + 100));
  EXPECT_FALSE(messages.Find(0));
  for (size_t i = 0; i < std::size(kNames); ++i) {
    SCOPED_TRACE(kNames[i]);
    const std::optional<SetupMessage> found = messages.Find(Registered(kNames[i]));
    ASSERT_TRUE(found);
    EXPECT_EQ(static_cast<size_t>(*found), i);
    records_.clear();
    EXPECT_FALSE(messages.Admit(*found, false));
    EXPECT_TRUE(HasRecord(records_, std::string("Ignored ") + kNames[i] +
                                        ": setup has not been started",
                          "Admit"));
    records_.clear();
    EXPECT_TRUE(messages.Admit(*found, true));
    EXPECT_TRUE(records_.empty());
  }
}

}  // namespace
}  // namespace lite
