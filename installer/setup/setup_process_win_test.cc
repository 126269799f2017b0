#include "installer/setup/setup_process_win.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "installer/command_line/process_command_line.h"
#include "installer/setup/delayed_params_win.h"
#include "logging/log_severity.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

// A stand-in setup program that ends with the code it is given.
int ExitWith(const std::vector<std::u16string>& args) {
  return static_cast<int>(std::stoul(UTF16ToUTF8(args.at(0))));
}
TL_CHILD_PROCESS("exit-with", ExitWith);

// A stand-in setup program that writes its command line where its
// "record-to" switch says and ends with 3.
int RecordCommandLine(const std::vector<std::u16string>&) {
  const std::u16string text = FromWide(GetCommandLineW());
  const InstallerCommandLine line = CommandLineFromString(text);
  return WriteWholeFile(FilePath(line.GetSwitchValue("record-to")), UTF16ToUTF8(text)) ? 3 : 1;
}
TL_CHILD_PROCESS("record-command-line", RecordCommandLine);

class RecordingDelegate : public InstallerDelegate {
 public:
  void OnDownloadProgress(float) override { calls.push_back("OnDownloadProgress"); }
  void OnSlowDownload() override { calls.push_back("OnSlowDownload"); }
  void OnTimeRemaining(int, int) override { calls.push_back("OnTimeRemaining"); }
  void CloseIfInstallStarted(bool) override { calls.push_back("CloseIfInstallStarted"); }
  void OnInstallError(int) override { calls.push_back("OnInstallError"); }
  HWND GetWindowHandle() override { return nullptr; }
  void SetProgress(int percent) override {
    calls.push_back("SetProgress(" + std::to_string(percent) + ")");
  }
  void RemoveCancelButton() override { calls.push_back("RemoveCancelButton"); }

  std::vector<std::string> calls;
};

class SetupProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
    SetFailureKind(FailureKind::kNone);
  }
  void TearDown() override { SetGlobalLogger(nullptr); }

  static std::u16string ChildLine(const std::string& code) {
    return testing::JoinCommandLine(
        {GetExecutablePath().value(), u"--child=exit-with", UTF8ToUTF16(code)});
  }
  bool Logged(const std::string& message) const {
    return HasRecord(records_, message, "RunModuleAndWait");
  }

  std::vector<LogRecord> records_;
};

TEST_F(SetupProcessTest, ExitCodesOtherThanSevenAndEightAreSuccess) {
  struct Case {
    std::string code;
    int32_t expected;
    std::string rendering;
  };
  const Case cases[] = {
      {"0", 0, "SUCCESS_EXIT_CODE(0); error: 0"},
      {"3", 3, "SUCCESS_EXIT_CODE(0); error: 3"},
      {std::to_string(101u << 24 | 2), static_cast<int32_t>(101u << 24 | 2),
       "GENERIC_INITIALIZATION_FAILURE(101); error: 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    records_.clear();
    const std::u16string line = ChildLine(c.code);
    int32_t exit_code = -1;
    RecordingDelegate delegate;
    EXPECT_TRUE(RunModuleAndWait(nullptr, line, &exit_code, &delegate));
    EXPECT_EQ(exit_code, c.expected);
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"SetProgress(40)", "RemoveCancelButton"}));
    EXPECT_TRUE(Logged("Run: " + UTF16ToUTF8(line)));
    EXPECT_TRUE(Logged("Process created: "));
    EXPECT_TRUE(Logged("Wait for process finish."));
    EXPECT_TRUE(Logged("Setup process exit with code: " + c.rendering));
    EXPECT_EQ(records_.size(), 4u);
    EXPECT_EQ(GetFailureKind(), FailureKind::kNone);
  }
}

TEST_F(SetupProcessTest, ExitCodesSevenAndEightRecordTheirFailureKind) {
  int32_t exit_code = -1;
  EXPECT_FALSE(RunModuleAndWait(nullptr, ChildLine("7"), &exit_code, nullptr));
  EXPECT_EQ(exit_code, 7);
  EXPECT_EQ(GetFailureKind(), FailureKind::kSetupExit7);
  EXPECT_FALSE(RunModuleAndWait(nullptr, ChildLine("8"), &exit_code, nullptr));
  EXPECT_EQ(exit_code, 8);
  EXPECT_EQ(GetFailureKind(), FailureKind::kSetupExit8);
  EXPECT_TRUE(Logged("Setup process exit with code: SUCCESS_EXIT_CODE(0); error: 8"));
}

TEST_F(SetupProcessTest, WithoutAnExitCodeOutputOnlyTheWaitCounts) {
  EXPECT_TRUE(RunModuleAndWait(nullptr, ChildLine("7"), nullptr, nullptr));
  EXPECT_EQ(GetFailureKind(), FailureKind::kNone);
  EXPECT_FALSE(Logged("Setup process exit with code: "));
}

TEST_F(SetupProcessTest, MissingProgramFailsToStart) {
  const std::u16string line = u"C:\\no\\such\\setup.exe --x";
  int32_t exit_code = -1;
  RecordingDelegate delegate;
  EXPECT_FALSE(RunModuleAndWait(nullptr, line, &exit_code, &delegate));
  EXPECT_EQ(exit_code, 400);
  EXPECT_TRUE(delegate.calls.empty());
  EXPECT_EQ(GetFailureKind(), FailureKind::kNone);
  ASSERT_EQ(records_.size(), 2u);
  EXPECT_EQ(records_[1].severity, LOGSEV_ERROR);
  // The line carries the system's error number and text.
  EXPECT_TRUE(Logged("Create process failed. - 3, ") || Logged("Create process failed. - 2, "))
      << records_[1].message;
}

TEST_F(SetupProcessTest, RunModuleRunsTheArchiveAsTheLiteInstallersSetup) {
  const FilePath dir = testing::MakeScratchDir();
  const FilePath archive = dir.Append(u"setup arc.exe");
  ASSERT_TRUE(CopyFileW(AsWide(GetExecutablePath().value()), AsWide(archive.value()), FALSE));
  const FilePath out = dir.Append(u"line.txt");
  // "child" must stay the first switch once the line is rendered in name order.
  InstallerCommandLine command_line = CommandLineFromString(u"ignored.exe --silent");
  command_line.AppendSwitchASCII("child", "record-command-line");
  command_line.AppendSwitchValue("record-to", out.value());
  command_line.AppendSwitchASCII("source", "full");

  int32_t result_code = 0;
  EXPECT_TRUE(RunModule(archive.value(), command_line, &result_code, nullptr));
  EXPECT_EQ(result_code, 3);
  const std::optional<std::string> text = ReadFileWithLimit(out, 1 << 16);
  ASSERT_TRUE(text);
  const InstallerCommandLine seen = CommandLineFromString(UTF8ToUTF16(*text));
  EXPECT_EQ(seen.GetProgram(), archive.value());
  EXPECT_EQ(seen.switches(), (InstallerCommandLine::SwitchMap{{"child", u"record-command-line"},
                                                              {"record-to", out.value()},
                                                              {"silent", u""},
                                                              {"source", u"lite"}}));
  EXPECT_EQ(command_line.GetSwitchValue("source"), u"full");  // the caller's line is untouched
  DeletePathRecursively(dir);
}

// A copy of this executable that claims another processor in its COFF header.
FilePath CopyForOtherMachine(const FilePath& dir, uint16_t machine) {
  std::optional<std::string> image = ReadFileWithLimit(GetExecutablePath(), 64 << 20);
  if (!image || image->size() < 0x40) return FilePath();
  uint32_t pe_offset = 0;
  memcpy(&pe_offset, image->data() + 0x3C, 4);
  if (pe_offset + 6 > image->size()) return FilePath();
  memcpy(&(*image)[pe_offset + 4], &machine, 2);
  const FilePath copy = dir.Append(u"other_machine.exe");
  return WriteWholeFile(copy, *image) ? copy : FilePath();
}

// Windows refuses such a program with ERROR_EXE_MACHINE_TYPE_MISMATCH,
// which is failure kind 4; Wine 8 says ERROR_BAD_EXE_FORMAT, which is no
// failure kind of its own. Only the latter can be seen here.
TEST_F(SetupProcessTest, ProgramForAnotherMachineFailsToStart) {
  const FilePath dir = testing::MakeScratchDir();
  const FilePath copy = CopyForOtherMachine(dir, 0xAA64);
  ASSERT_FALSE(copy.empty());
  int32_t exit_code = -1;
  EXPECT_FALSE(RunModuleAndWait(nullptr, copy.value() + u" --child=exit-with 0", &exit_code,
                                nullptr));
  EXPECT_EQ(exit_code, 400);
  EXPECT_TRUE(Logged("Create process failed. - 193, "));
  EXPECT_EQ(GetFailureKind(), FailureKind::kNone);
  DeletePathRecursively(dir);
}

}  // namespace
}  // namespace lite
