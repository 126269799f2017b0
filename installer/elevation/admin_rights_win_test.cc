#include "installer/elevation/admin_rights_win.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/file_util_win.h"
#include "base/wide_string_win.h"
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

// 1 when this process runs elevated, plus 2 when its token lists the
// Administrators group.
int ReportElevation(const std::vector<std::u16string>&) {
  return (IsProcessElevated(GetCurrentProcess()) ? 1 : 0) +
         (IsUserAnAdminGroup(GetCurrentProcess()) ? 2 : 0);
}
TL_CHILD_PROCESS("report-elevation", ReportElevation);

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

// Runs this test program as child "report-elevation" with |token|; its
// exit code, -1 when it could not run.
int ReportElevationWithToken(HANDLE token) {
  std::u16string command_line =
      testing::JoinCommandLine({GetExecutablePath().value(), u"--child=report-elevation"});
  STARTUPINFOW startup = {sizeof(startup)};
  PROCESS_INFORMATION started = {};
  if (!CreateProcessAsUserW(token, nullptr, AsWide(command_line.data()), nullptr, nullptr,
                            FALSE, 0, nullptr, nullptr, &startup, &started)) {
    return -1;
  }
  CloseHandle(started.hThread);
  Process child(started.hProcess, started.dwProcessId);
  int exit_code = -1;
  if (!child.WaitForExit(60000, &exit_code)) child.Terminate(1);
  return exit_code;
}

// Wine, like UAC, gives an administrator two tokens: the full one its
// programs start with (and "runas" asks for) and the filtered one linked
// to it. Both list the Administrators group; only the first is elevated.
TEST_F(AdminRightsTest, ElevationIsTheTokensNotTheGroups) {
  EXPECT_TRUE(IsProcessElevated(GetCurrentProcess()));
  HANDLE own = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE |
                                                        TOKEN_ASSIGN_PRIMARY, &own));
  const ScopedHandle own_token(own);
  TOKEN_LINKED_TOKEN linked = {};
  DWORD size = 0;
  ASSERT_TRUE(GetTokenInformation(own, TokenLinkedToken, &linked, sizeof(linked), &size));
  const ScopedHandle filtered(linked.LinkedToken);
  EXPECT_EQ(ReportElevationWithToken(own), 3);
  EXPECT_EQ(ReportElevationWithToken(filtered.get()), 2);

  ScopedHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  EXPECT_FALSE(IsProcessElevated(event.get()));
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
