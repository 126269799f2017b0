#include "installer/elevation/admin_rights_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

int WaitForever(const std::vector<std::u16string>&) {
  Sleep(INFINITE);
  return 0;
}
TL_CHILD_PROCESS("admin-rights-idle", WaitForever);

InstallerCommandLine CommandLineWith(std::initializer_list<std::u16string> words) {
  std::vector<std::u16string> all = {u"lite_installer.exe"};
  all.insert(all.end(), words);
  return InstallerCommandLine::FromWords(all);
}

class AdminRightsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGlobalLogger(std::make_unique<RecordingLogger>(&records_)); }
  void TearDown() override { SetGlobalLogger(nullptr); }

  std::vector<std::string> InfoLines() const {
    std::vector<std::string> lines;
    for (const LogRecord& r : records_) {
      if (std::string(r.function) == "NeedStartThisProcessAsAdmin") lines.push_back(r.message);
    }
    return lines;
  }

  std::vector<LogRecord> records_;
};

// Wine's user is an administrator, as a default Windows account is.
TEST_F(AdminRightsTest, TokenOfAnotherProcessIsReadThroughItsHandle) {
  EXPECT_TRUE(IsUserAnAdminGroup(GetCurrentProcess()));
  Process child = testing::StartChild("admin-rights-idle", {});
  ASSERT_TRUE(child.is_valid());
  EXPECT_TRUE(IsUserAnAdminGroup(child.handle()));

  child.Terminate(0);

  // A handle that is no process has no token.
  ScopedHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  EXPECT_FALSE(IsUserAnAdminGroup(event.get()));
  EXPECT_TRUE(HasRecord(records_, "OpenProcessToken fail - ", "GetProcessToken"));
}

TEST_F(AdminRightsTest, InstallationRunRestartsElevated) {
  EXPECT_TRUE(NeedStartThisProcessAsAdmin(CommandLineWith({u"--brand-name=tb"})));
  EXPECT_TRUE(InfoLines().empty());
  // An administrator already holding full rights needs no prompt, so a
  // silent run may restart too.
  EXPECT_TRUE(NeedStartThisProcessAsAdmin(CommandLineWith({u"--silent"})));
}

TEST_F(AdminRightsTest, NonInstallationSwitchesAreCheckedInTheirListOrder) {
  EXPECT_FALSE(NeedStartThisProcessAsAdmin(CommandLineWith({u"--patch"})));
  // "pttw0" comes first by name but last in the list.
  EXPECT_FALSE(NeedStartThisProcessAsAdmin(
      CommandLineWith({u"--pttw0", u"--update-setup-exe=x", u"--run-as-admin"})));
  EXPECT_EQ(InfoLines(), (std::vector<std::string>{"Found non install-switch:patch",
                                                   "Found non install-switch:update-setup-exe"}));
}

TEST_F(AdminRightsTest, ElevatedCopyDoesNotRestartAgain) {
  EXPECT_FALSE(NeedStartThisProcessAsAdmin(CommandLineWith({u"--run-as-admin"})));
  EXPECT_EQ(InfoLines(),
            std::vector<std::string>{"Run-as-admin functionality is already enabled."});
}

}  // namespace
}  // namespace lite
