#include "logging/file_logger_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <regex>
#include <sstream>

#include "base/file_util_win.h"
#include "base/thread_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "base/waitable_event_win.h"
#include "logging/log_format.h"
#include "logging/log_message.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

// One line of the log: UTC time, ids, level, message and origin.
const std::regex kLineLayout(
    R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3} (\d{2,}):(\d{2,}) (INFO|ERROR|WARNING): (.*) \((\w+):(\d+)\)$)");

LogRecord MakeRecord(std::string message) {
  LogRecord record;
  record.severity = LOGSEV_INFO;
  record.function = "Test";
  record.line = 1;
  record.time_micros = 1706692502047000LL;
  record.process_id = 12;
  record.thread_id = 34;
  record.message = std::move(message);
  return record;
}

std::vector<std::string> ReadLines(const FilePath& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadFileWithLimit(path, 1 << 30).value_or(""));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

int LogManyLines(const std::vector<std::u16string>& args) {
  FileLogger logger(FilePath(args.at(0)), kInstallerLogMaxSize * 64);
  const int count = std::stoi(UTF16ToUTF8(args.at(1)));
  for (int i = 0; i < count; ++i) {
    LogRecord record = MakeRecord("line " + std::to_string(i) + " of process " +
                                  std::to_string(GetCurrentProcessId()));
    record.process_id = GetCurrentProcessId();
    logger.Emit(record);
  }
  return 0;
}
TL_CHILD_PROCESS("log-many-lines", LogManyLines);

class FileLoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing::MakeScratchDir();
    ASSERT_FALSE(dir_.empty());
    path_ = dir_.Append(u"lite_installer.log");
  }
  void TearDown() override { DeletePathRecursively(dir_); }
  FilePath dir_;
  FilePath path_;
};

TEST_F(FileLoggerTest, TwoProcessesWriteOnlyWholeLines) {
  constexpr int kLines = 10000;
  Process a = testing::StartChild("log-many-lines", {path_.value(), u"10000"});
  Process b = testing::StartChild("log-many-lines", {path_.value(), u"10000"});
  ASSERT_TRUE(a.is_valid() && b.is_valid());
  int code_a = -1, code_b = -1;
  ASSERT_TRUE(a.WaitForExit(240000, &code_a));
  ASSERT_TRUE(b.WaitForExit(240000, &code_b));
  EXPECT_EQ(code_a, 0);
  EXPECT_EQ(code_b, 0);

  const std::vector<std::string> lines = ReadLines(path_);
  ASSERT_EQ(lines.size(), 2u * kLines);
  std::map<std::string, int> next_index;  // per process: lines arrive in order
  for (const std::string& line : lines) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, kLineLayout)) << line;
    const std::string pid = m[1];
    EXPECT_EQ(m[4].str(), "line " + std::to_string(next_index[pid]) + " of process " + pid);
    ++next_index[pid];
  }
  ASSERT_EQ(next_index.size(), 2u);
  for (const auto& [pid, count] : next_index) EXPECT_EQ(count, kLines) << pid;
}

TEST_F(FileLoggerTest, RotatesBeforeARecordThatWouldReachTheLimit) {
  const std::string old_content(1048000, 'x');
  ASSERT_TRUE(WriteWholeFile(path_, old_content));
  ASSERT_TRUE(WriteWholeFile(RotatedLogPath(path_), "an older rotated copy"));
  FileLogger logger(path_, kInstallerLogMaxSize);
  const std::string prefix = *FormatLogPrefix(MakeRecord(""));
  const std::string message(600 - prefix.size(), 'm');  // prefix + message = 600
  logger.Emit(MakeRecord(message));

  EXPECT_EQ(ReadFileWithLimit(RotatedLogPath(path_), 1 << 21), old_content);
  const std::vector<std::string> lines = ReadLines(path_);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(std::regex_match(lines[0], kLineLayout));
  EXPECT_NE(lines[0].find(message), std::string::npos);
}

TEST_F(FileLoggerTest, SmallerRecordDoesNotRotate) {
  ASSERT_TRUE(WriteWholeFile(path_, std::string(1048000, 'x')));
  FileLogger logger(path_, kInstallerLogMaxSize);
  logger.Emit(MakeRecord(std::string(500, 'm')));
  EXPECT_FALSE(PathExists(RotatedLogPath(path_)));
  EXPECT_GT(*GetFileSize(path_), 1048000u);
}

TEST_F(FileLoggerTest, FailedRotationIsReportedOnceAndTheFileGrows) {
  ASSERT_TRUE(WriteWholeFile(path_, std::string(1048570, 'x')));
  ASSERT_TRUE(WriteWholeFile(RotatedLogPath(path_), "locked"));
  // An open handle without sharing makes the rotated copy irreplaceable.
  ScopedHandle hold(CreateFileW(AsWide(RotatedLogPath(path_).value()), GENERIC_READ, 0,
                                nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(hold.is_valid());
  FileLogger logger(path_, kInstallerLogMaxSize);
  logger.Emit(MakeRecord("first"));
  logger.Emit(MakeRecord("second"));

  const std::string text = *ReadFileWithLimit(path_, 1 << 22);
  const std::string notice = "LOGGING: Failed to rotate log file " + UTF16ToUTF8(path_.value()) + ": -";
  const size_t at = text.find(notice);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(text.find(notice, at + 1), std::string::npos) << "notice repeated";
  EXPECT_GT(text.size(), 1048576u);
  EXPECT_NE(text.find("INFO: second (Test:1)\n"), std::string::npos);
  // The number is a negative file error, not a raw Windows code.
  const int number = std::stoi(text.substr(at + notice.size() - 1));
  EXPECT_LT(number, 0);
  EXPECT_GE(number, -16);
}

TEST_F(FileLoggerTest, LockHeldElsewhereWritesAnywayWithOneNotice) {
  WaitableEvent locked(WaitableEvent::Reset::kManual);
  WaitableEvent release(WaitableEvent::Reset::kManual);
  Thread holder;
  const std::u16string name = LogMutexName(path_);
  ASSERT_TRUE(holder.Start([&] {
    ScopedHandle mutex(CreateMutexW(nullptr, TRUE, AsWide(name)));
    locked.Signal();
    release.Wait();
    ReleaseMutex(mutex.get());
  }));
  ASSERT_TRUE(locked.Wait(10000));
  FileLogger logger(path_, kInstallerLogMaxSize);
  const DWORD start = GetTickCount();
  logger.Emit(MakeRecord("first"));
  logger.Emit(MakeRecord("second"));
  EXPECT_GE(GetTickCount() - start, 1900u);  // each record waited its second
  release.Signal();
  ASSERT_TRUE(holder.Join(10000));

  const std::vector<std::string> lines = ReadLines(path_);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[0].find("LOGGING: Failed to lock log file " + UTF16ToUTF8(path_.value())),
            std::string::npos);
  EXPECT_NE(lines[1].find("INFO: first"), std::string::npos);
  EXPECT_NE(lines[2].find("INFO: second"), std::string::npos);
}

TEST_F(FileLoggerTest, AbandonedMutexIsRecoveredAndNoted) {
  const std::u16string name = LogMutexName(path_);
  ScopedHandle keep(CreateMutexW(nullptr, FALSE, AsWide(name)));  // keeps it alive
  Thread crasher;
  ASSERT_TRUE(crasher.Start([&] {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, AsWide(name));
    WaitForSingleObject(mutex, INFINITE);  // ends without releasing
    CloseHandle(mutex);
  }));
  ASSERT_TRUE(crasher.Join(10000));
  FileLogger logger(path_, kInstallerLogMaxSize);
  logger.Emit(MakeRecord("after the crash"));
  logger.Emit(MakeRecord("normal again"));
  const std::vector<std::string> lines = ReadLines(path_);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[0].find("LOGGING: Abandoned log mutex recovered for file "),
            std::string::npos);
  EXPECT_NE(lines[1].find("after the crash"), std::string::npos);
  EXPECT_NE(lines[2].find("normal again"), std::string::npos);
}

TEST_F(FileLoggerTest, CreatesMissingDirectoriesAndDropsOversizedRecords) {
  const FilePath nested = dir_.Append(u"a").Append(u"b").Append(u"x.log");
  FileLogger logger(nested, kInstallerLogMaxSize);
  LogRecord long_name = MakeRecord("dropped");
  const std::string function(194, 'f');  // " (" + 194 + ":1)" needs 200 bytes
  long_name.function = function.c_str();
  logger.Emit(long_name);
  EXPECT_FALSE(PathExists(nested));
  logger.Emit(MakeRecord("kept"));
  const std::vector<std::string> lines = ReadLines(nested);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "2024-01-31 09:15:02.047 12:34 INFO: kept (Test:1)");
}

// The elevated copy writes into the user's log: it appends, but never
// creates a file or a folder there and never moves the log aside.
TEST_F(FileLoggerTest, AppendOnlyLoggerNeverCreatesOrRotates) {
  FileLogger logger(path_, kInstallerLogMaxSize, FileLogger::Access::kAppendToExisting);
  logger.Emit(MakeRecord("no file to append to"));
  EXPECT_FALSE(PathExists(path_));
  const FilePath elsewhere = dir_.Append(u"missing").Append(u"lite_installer.log");
  FileLogger(elsewhere, kInstallerLogMaxSize, FileLogger::Access::kAppendToExisting)
      .Emit(MakeRecord("no folder"));
  EXPECT_FALSE(PathExists(elsewhere.DirName()));

  ASSERT_TRUE(WriteWholeFile(path_, std::string(1048570, 'x')));
  logger.Emit(MakeRecord(std::string(500, 'm')));
  EXPECT_FALSE(PathExists(RotatedLogPath(path_)));
  EXPECT_GT(*GetFileSize(path_), 1048570u);
  const std::vector<std::string> lines = ReadLines(path_);
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines.back().find(std::string(500, 'm')), std::string::npos);
}

TEST(InstallerLogPathTest, LivesInTheTemporaryDirectory) {
  EXPECT_EQ(GetInstallerLogPath(), GetUserTempDir().Append(u"lite_installer.log"));
}

}  // namespace
}  // namespace lite
