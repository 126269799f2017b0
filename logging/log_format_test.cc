#include "logging/log_format.h"

#include <gtest/gtest.h>

#include "base/md5.h"
#include "base/utf.h"
#include "logging/log_severity.h"

namespace lite {
namespace {

LogRecord MakeRecord(int32_t severity, const char* function, std::string message) {
  LogRecord record;
  record.severity = severity;
  record.function = function;
  record.line = 220;
  record.time_micros = 1706692502047999LL;  // 2024-01-31 09:15:02.047999 UTC
  record.process_id = 5124;
  record.thread_id = 7788;
  record.message = std::move(message);
  return record;
}

TEST(LogFormatTest, LineHasTheExactLayout) {
  const LogRecord record = MakeRecord(LOGSEV_INFO, "wWinMain", "Lite installer mode.");
  const std::string line =
      FormatLogLine(*FormatLogPrefix(record), record, *FormatLogOrigin(record));
  EXPECT_EQ(line, "2024-01-31 09:15:02.047 5124:7788 INFO: Lite installer mode. (wWinMain:220)\n");
}

TEST(LogFormatTest, SeverityNamesAndShortIds) {
  LogRecord record = MakeRecord(LOGSEV_ERROR, "F", "x");
  record.process_id = 7;
  record.thread_id = 0;
  EXPECT_EQ(FormatLogLine(*FormatLogPrefix(record), record, *FormatLogOrigin(record)),
            "2024-01-31 09:15:02.047 07:00 ERROR: x (F:220)\n");
  record.severity = LOGSEV_WARNING;
  EXPECT_NE(FormatLogLine("", record, "").find("WARNING: x"), std::string::npos);
}

TEST(LogFormatTest, MessageBytesAreKeptAsTheyAre) {
  const LogRecord record = MakeRecord(LOGSEV_INFO, "F", "two\nlines %s \xC3\xA9");
  EXPECT_EQ(FormatLogLine("P ", record, " (F:1)"), "P INFO: two\nlines %s \xC3\xA9 (F:1)\n");
}

TEST(LogFormatTest, PiecesThatDoNotFitTwoHundredBytesAreRefused) {
  // " (" + name + ":220)" needs the name's length + 7 bytes + the terminator.
  const std::string fits(191, 'f');
  const std::string too_long(192, 'f');
  EXPECT_TRUE(FormatLogOrigin(MakeRecord(0, fits.c_str(), "")).has_value());
  EXPECT_FALSE(FormatLogOrigin(MakeRecord(0, too_long.c_str(), "")).has_value());
  EXPECT_EQ(FormatLogOrigin(MakeRecord(0, fits.c_str(), ""))->size(), 198u);
}

TEST(LogFormatTest, RotationThresholdCountsPrefixAndMessage) {
  // The example of a 1,048,000-byte file and a 600-byte record.
  EXPECT_TRUE(NeedsRotation(1048000, 34, 566, 1048576));
  EXPECT_FALSE(NeedsRotation(1048000, 34, 541, 1048576));
  EXPECT_TRUE(NeedsRotation(1048000, 34, 542, 1048576));  // exactly the limit
  EXPECT_TRUE(NeedsRotation(0, 0, 0, 0));
  // 64-bit arithmetic: a file past 4 GiB does not wrap around.
  EXPECT_TRUE(NeedsRotation(0x100000000ULL, 0, 0, 1048576));
}

TEST(LogFormatTest, NamesDerivedFromThePath) {
  const FilePath path(u"C:\\Users\\u\\AppData\\Local\\Temp\\lite_installer.log");
  EXPECT_EQ(RotatedLogPath(path).value(),
            u"C:\\Users\\u\\AppData\\Local\\Temp\\lite_installer_old.log");
  const std::u16string name = LogMutexName(path);
  EXPECT_EQ(name, u"tlupdater log " + WidenBytes(MD5HexDigest(UTF16ToUTF8(path.value()))));
  EXPECT_EQ(name.size(), 14u + 32u);
  // The digest is of the UTF-8 bytes: a non-ASCII path changes the name.
  EXPECT_NE(LogMutexName(FilePath(u"C:\\T\u00e9mp\\lite_installer.log")),
            LogMutexName(FilePath(u"C:\\Temp\\lite_installer.log")));
}

TEST(LogFormatTest, Notices) {
  const FilePath path(u"C:\\T\\lite_installer.log");
  EXPECT_EQ(RotationFailureNotice("P ", path, kFileErrorAccessDenied),
            "P LOGGING: Failed to rotate log file C:\\T\\lite_installer.log: -5\n");
  EXPECT_EQ(LockFailureNotice("P ", path),
            "P LOGGING: Failed to lock log file C:\\T\\lite_installer.log\n");
  EXPECT_EQ(AbandonedMutexNotice("P ", path),
            "P LOGGING: Abandoned log mutex recovered for file C:\\T\\lite_installer.log\n");
}

TEST(LogFormatTest, FileErrorsFromWindowsErrors) {
  EXPECT_EQ(FileErrorFromSystemError(0), kFileOk);
  EXPECT_EQ(FileErrorFromSystemError(5), -5);    // access denied
  EXPECT_EQ(FileErrorFromSystemError(32), -2);   // sharing violation: in use
  EXPECT_EQ(FileErrorFromSystemError(2), -4);    // not found
  EXPECT_EQ(FileErrorFromSystemError(183), -3);  // already exists
  EXPECT_EQ(FileErrorFromSystemError(112), -8);  // disk full
  EXPECT_EQ(FileErrorFromSystemError(12345), -1);
}

}  // namespace
}  // namespace lite
