// Runs the real lite_installer.exe as a user would, each run with its own
// temporary directory, and reads its exit code and log.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <sstream>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "installer/run/single_instance_lock_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

const std::regex kLineLayout(
    R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3} \d{2,}:\d{2,} (INFO|ERROR|WARNING): .* \(\w+:\d+\)$)");
// A failed Windows call's record carries the system's message with its own
// line break, so its origin goes on the next line.
const std::regex kSystemErrorStart(
    R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3} \d{2,}:\d{2,} ERROR: .* - \d+, .*\r$)");
const std::regex kOriginLine(R"(^ \(\w+:\d+\)$)");

class InstallerRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp_ = testing::MakeScratchDir();
    ASSERT_FALSE(temp_.empty());
  }
  void TearDown() override { DeletePathRecursively(temp_); }

  // Starts |exe| with |switches| and TEMP/TMP pointing at this test's own
  // directory.
  Process Start(const std::vector<std::u16string>& switches,
                const FilePath& exe = testing::InstallerExePath()) {
    std::vector<std::u16string> words = {exe.value()};
    words.insert(words.end(), switches.begin(), switches.end());
    LaunchOptions options;
    const std::u16string temp = temp_.value() + u"\\";
    options.environment = testing::EnvironmentWith({{u"TEMP", temp}, {u"TMP", temp}});
    return LaunchProcess(testing::JoinCommandLine(words), options);
  }
  // The exit code, or -9999 when it did not end in time.
  int Run(const std::vector<std::u16string>& switches,
          const FilePath& exe = testing::InstallerExePath(), DWORD timeout_ms = 60000) {
    Process process = Start(switches, exe);
    int code = -9999;
    if (!process.is_valid() || !process.WaitForExit(timeout_ms, &code)) return -9999;
    return code;
  }

  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    std::istringstream in(
        ReadFileWithLimit(temp_.Append(u"lite_installer.log"), 1 << 22).value_or(""));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  bool Logged(const std::string& text) const {
    for (const std::string& line : LogLines()) {
      if (line.find(text) != std::string::npos) return true;
    }
    return false;
  }

  // A process started with "run-as-admin" writes the log only through the
  // handle its first installer hands it: by the path, it neither creates
  // nor appends to the file, even when one is there.
  void CreateFirstInstallersLog() const {
    ASSERT_TRUE(WriteWholeFile(temp_.Append(u"lite_installer.log"), std::string()));
  }
  bool LogIsEmpty() const {
    return ReadFileWithLimit(temp_.Append(u"lite_installer.log"), 1 << 20) ==
           std::optional<std::string>("");
  }

  FilePath temp_;
};

// The shipping build's hosts do not resolve here: six attempts with their
// pauses, then the download failure's code.
TEST_F(InstallerRunTest, SilentRunWithoutReachableHostsEndsWith401) {
  EXPECT_EQ(Run({u"--silent"}, testing::InstallerExePath(), 180000), 401);
  const std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_NE(lines[0].find(" INFO: -------------------------------------- Start install. (wWinMain:"),
            std::string::npos)
      << lines[0];
  for (size_t i = 0; i < lines.size(); ++i) {
    if (std::regex_match(lines[i], kSystemErrorStart) && i + 1 < lines.size() &&
        std::regex_match(lines[i + 1], kOriginLine)) {
      ++i;
      continue;
    }
    EXPECT_TRUE(std::regex_match(lines[i], kLineLayout)) << lines[i];
  }
  EXPECT_TRUE(Logged("INFO: Lite installer mode. (wWinMain:"));
  EXPECT_TRUE(Logged("INFO: Installer process id: "));
  EXPECT_TRUE(Logged("INFO: Temporary path is: " + UTF16ToUTF8(temp_.value()) + "\\ (wWinMain:"));
  EXPECT_TRUE(Logged("INFO: Installing in silent mode. (wWinMain:"));
  EXPECT_TRUE(Logged("Max download attempts failed (6)"));
  EXPECT_TRUE(Logged("INFO: Installer exit with code: 401 (wWinMain:"));
  EXPECT_TRUE(lines.back().find("Installer exit with code: 401") != std::string::npos);
}

TEST_F(InstallerRunTest, SemiSilentRunsSilently) {
  Process process = Start({u"/SEMI-SILENT"});
  ASSERT_TRUE(process.is_valid());
  EXPECT_TRUE(testing::WaitForFileText(temp_.Append(u"lite_installer.log"),
                                       "Installing in silent mode.", 30000));
  // The download it goes on with cannot succeed here.
  process.Terminate(1);
  process.WaitForExit(10000, nullptr);
}

TEST_F(InstallerRunTest, SecondInstanceExitsWith600) {
  // This process plays the installer that already runs.
  ScopedHandle held(CreateMutexW(nullptr, TRUE, kSingleInstanceMutexName));
  ASSERT_TRUE(held.is_valid());
  EXPECT_EQ(Run({u"--silent"}), 600);
  EXPECT_TRUE(Logged("INFO: Another installer instance is already running. (wWinMain:"));
  // No installer of this file took the lock, so its cell is still 0.
  EXPECT_TRUE(Logged("INFO: Master installer process id: 0 (wWinMain:"));
  EXPECT_TRUE(Logged("ERROR: Failed to bring process window to top: wrong process id"));
  EXPECT_FALSE(Logged("Installer exit with code"));
  EXPECT_FALSE(Logged("Installer process id: "));
  ReleaseMutex(held.get());
}

TEST_F(InstallerRunTest, CopyElsewhereSeesAZeroCell) {
  const FilePath copy = temp_.Append(u"copied_installer.exe");
  ASSERT_TRUE(CopyFileW(AsWide(testing::InstallerExePath().value()), AsWide(copy.value()),
                        FALSE));
  ScopedHandle held(CreateMutexW(nullptr, TRUE, kSingleInstanceMutexName));
  EXPECT_EQ(Run({u"--silent"}, copy), 600);
  EXPECT_TRUE(Logged("Master installer process id: 0"));
  EXPECT_TRUE(Logged("Failed to bring process window to top: wrong process id"));
  ReleaseMutex(held.get());
}

TEST_F(InstallerRunTest, InterfaceProbeAnswersBeforeAnythingElse) {
  CreateFirstInstallersLog();
  EXPECT_EQ(Run({u"--check-the-interface", u"--run-as-admin"}), 701);
  EXPECT_TRUE(LogIsEmpty());
  EXPECT_EQ(Run({u"--check-the-interface"}), 701);
  EXPECT_TRUE(Logged(
      "Handled non install cmd line option by win10 default browser helper, ret code: 701"));
  EXPECT_FALSE(Logged("Lite installer mode."));
}

TEST_F(InstallerRunTest, ElevatedCopyWithoutItsFirstInstallerEndsAtOnce) {
  CreateFirstInstallersLog();
  EXPECT_EQ(Run({u"--run-as-admin", u"--parent-installer-process-id=none",
                 u"--setup-cmd-line=fake_browser_arc"}),
            -1);
  // Without a first installer there is no handle to log through.
  EXPECT_TRUE(LogIsEmpty());
}

}  // namespace
}  // namespace lite
