// An installation whose setup runs in the elevated copy (Wine grants "runas"
// without a prompt): the copy, with rights the user lacks, changes nothing
// outside its own protected folder, even where the user has planted links
// to other files, and hands setup only the files it copied there.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>
#include <vector>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "installer/command_line/installer_command_line.h"
#include "tests/support/child_process_win.h"
#include "tests/ui/interactive_installation_win.h"
#include "tests/ui/wait_win.h"

namespace lite {
namespace {

using testing::Archive;
using testing::InteractiveInstallation;

// %SystemRoot%\Temp, where the copy makes its protected folder.
std::string SystemTempDir() {
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  return UTF16ToUTF8(FromWide(windows, length)) + "\\Temp\\";
}

// The process id of a log line ("2024-01-31 09:15:02.047 5124:7788 ...").
std::string ProcessIdOf(const std::string& line) {
  std::smatch match;
  return std::regex_search(line, match, std::regex(R"(^\S+ \S+ (\d+):\d+ )")) ? match[1].str()
                                                                               : "?";
}

std::vector<std::string> LinesOf(const FilePath& file) {
  std::vector<std::string> lines;
  const std::string text = ReadFileWithLimit(file, 1 << 22).value_or("");
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Mode 1 with both choices preset and no welcome screen: the installer
// restarts elevated as its window opens and installs without a click. The
// CDN holds the archive back a few seconds, so the copy is waiting while
// the log path is made a hard link to a file outside the temporary folder.
TEST(ElevatedInstallationTest, CopyWritesNothingOutsideItsFolderAndSetupGetsItsCopies) {
  InteractiveInstallation run;
  ASSERT_TRUE(run.Serve(Archive::kSigned, R"({"delay": 6})"));
  const FilePath outside_dir = testing::MakeScratchDir();
  const FilePath outside = outside_dir.Append(u"precious.txt");
  ASSERT_TRUE(WriteWholeFile(outside, "precious\n"));

  ASSERT_TRUE(run.Start({u"--distr-info-params=def=1&stat=1&first=1&uac=1"}));
  ASSERT_TRUE(run.WaitForLogLine("Start installer as admin", testing::kWindowTimeoutMs))
      << ::testing::PrintToString(run.LogLines());
  const std::vector<std::string> started = run.LogLinesWith("Start installer as admin");
  const std::string copy_id = ProcessIdOf(started.at(0));

  // The first installer opens the file for each of its lines and may hold
  // it just now, or make a new one between the two moves: the link takes
  // its place in one step.
  const FilePath log = run.log_path();
  const FilePath first_log = FilePath(log.value() + u".first");
  const FilePath link = FilePath(log.value() + u".link");
  ASSERT_TRUE(CreateHardLinkW(AsWide(link.value()), AsWide(outside.value()), nullptr));
  ASSERT_TRUE(testing::WaitUntil(
      [&] { return MoveFileW(AsWide(log.value()), AsWide(first_log.value())) != FALSE; }, 5000,
      10));
  ASSERT_TRUE(testing::WaitUntil(
      [&] {
        return MoveFileExW(AsWide(link.value()), AsWide(log.value()),
                           MOVEFILE_REPLACE_EXISTING) != FALSE;
      },
      5000, 10));

  EXPECT_EQ(run.WaitForExit(testing::kRunTimeoutMs), std::optional<int>(400));

  // The link's target got lines of the first installer only, which wrote
  // it with its own rights; the copy went on writing where it started.
  for (const std::string& line : LinesOf(outside)) {
    EXPECT_NE(ProcessIdOf(line), copy_id) << line;
  }
  bool copy_finished = false;
  for (const std::string& line : LinesOf(first_log)) {
    copy_finished |= ProcessIdOf(line) == copy_id &&
                     line.find("RunModule results: success=1") != std::string::npos;
  }
  EXPECT_TRUE(copy_finished) << ReadFileWithLimit(first_log, 1 << 20).value_or("");

  // Setup ran from the protected folder and read every file there.
  const std::optional<Value> record = run.SetupRecord();
  ASSERT_TRUE(record) << "setup did not run";
  std::vector<std::u16string> words;
  for (const Value& word : *record->FindPath("arguments")->GetIfList()) {
    words.push_back(UTF8ToUTF16(*word.GetIfString()));
  }
  const InstallerCommandLine setup = InstallerCommandLine::FromWords(words);
  const std::string program = UTF16ToUTF8(setup.GetProgram());
  const std::regex in_folder("^" + std::regex_replace(SystemTempDir(), std::regex(R"(\\)"),
                                                      R"(\\)") +
                             R"(tl[0-9A-Fa-f-]+\\[^\\]+$)",
                             std::regex::icase);
  EXPECT_TRUE(std::regex_match(program, in_folder)) << program;
  int files = 0;
  for (const char* name : {"installerdata", "clids-file", "tolvar-website-icon-file",
                           "abt-config-resource-file", "distr-info-file", "brand-package"}) {
    const std::string path = UTF16ToUTF8(setup.GetSwitchValue(name));
    if (path.empty()) continue;
    ++files;
    EXPECT_TRUE(std::regex_match(path, in_folder)) << name << "=" << path;
    EXPECT_EQ(FilePath(UTF8ToUTF16(path)).DirName().value(),
              FilePath(setup.GetProgram()).DirName().value())
        << name;
  }
  EXPECT_GE(files, 3);
  // The folder went with setup.
  EXPECT_FALSE(PathExists(FilePath(setup.GetProgram()).DirName()));
  DeletePathRecursively(outside_dir);
}

}  // namespace
}  // namespace lite
