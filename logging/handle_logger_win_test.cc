#include "logging/handle_logger_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/waitable_event_win.h"
#include "base/wide_string_win.h"
#include "logging/log_format.h"
#include "logging/log_severity.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

LogRecord MakeRecord(std::string message) {
  LogRecord record;
  record.severity = LOGSEV_INFO;
  record.function = "Test";
  record.line = 7;
  record.time_micros = 1706692502047000LL;
  record.process_id = 12;
  record.thread_id = 34;
  record.message = std::move(message);
  return record;
}

ScopedHandle OpenForAppend(const FilePath& path) {
  return ScopedHandle(CreateFileW(AsWide(path.value()), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr));
}

class HandleLoggerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(dir_.empty()); }
  void TearDown() override { DeletePathRecursively(dir_); }
  std::string Read(const FilePath& path) const {
    return ReadFileWithLimit(path, 1 << 20).value_or("<unreadable>");
  }
  const FilePath dir_ = testing::MakeScratchDir();
  const FilePath log_ = dir_.Append(u"lite_installer.log");
};

// Whatever the path names by the time a record is written (a hard link to
// another file, planted after the handle was opened), the record goes to
// the file the handle was opened on, after what it held.
TEST_F(HandleLoggerTest, WritesOnlyThroughItsHandle) {
  ASSERT_TRUE(WriteWholeFile(log_, "first\n"));
  HandleLogger logger(OpenForAppend(log_), log_);
  const FilePath moved = dir_.Append(u"moved.log");
  const FilePath outside = dir_.Append(u"outside.txt");
  ASSERT_TRUE(WriteWholeFile(outside, "keep me"));
  ASSERT_TRUE(MoveFileW(AsWide(log_.value()), AsWide(moved.value())));
  ASSERT_TRUE(CreateHardLinkW(AsWide(log_.value()), AsWide(outside.value()), nullptr));

  logger.Emit(MakeRecord("C:\\a\\x0Ab"));
  EXPECT_EQ(Read(outside), "keep me");
  EXPECT_EQ(Read(moved), "first\n2024-01-31 09:15:02.047 12:34 INFO: C:\\a\\x0Ab (Test:7)\n");
}

// A writer that holds the lock too long delays a record by a second and is
// noted once.
TEST_F(HandleLoggerTest, WritesWithoutTheLockAndSaysSoOnce) {
  ASSERT_TRUE(WriteWholeFile(log_, ""));
  WaitableEvent held(WaitableEvent::Reset::kManual);
  WaitableEvent done(WaitableEvent::Reset::kManual);
  std::thread holder([&] {
    const ScopedHandle mutex(CreateMutexW(nullptr, TRUE, AsWide(LogMutexName(log_))));
    held.Signal();
    done.Wait(30000);
    ReleaseMutex(mutex.get());
  });
  held.Wait(30000);
  HandleLogger logger(OpenForAppend(log_), log_);
  logger.Emit(MakeRecord("one"));
  logger.Emit(MakeRecord("two"));
  done.Signal();
  holder.join();
  const std::string prefix = "2024-01-31 09:15:02.047 12:34 ";
  EXPECT_EQ(Read(log_), prefix + "LOGGING: Failed to lock log file " +
                            UTF16ToUTF8(log_.value()) + "\n" + prefix +
                            "INFO: one (Test:7)\n" + prefix + "INFO: two (Test:7)\n");
}

TEST_F(HandleLoggerTest, WithoutAHandleNothingIsWritten) {
  HandleLogger logger(ScopedHandle(), log_);
  logger.Emit(MakeRecord("lost"));
  EXPECT_FALSE(PathExists(log_));
}

}  // namespace
}  // namespace lite
