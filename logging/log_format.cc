#include "logging/log_format.h"

#include <cstdio>

#include "base/md5.h"
#include "base/time.h"
#include "base/utf.h"
#include "logging/log_severity.h"

namespace lite {

std::optional<std::string> FormatLogPrefix(const LogRecord& record) {
  const CivilTime t = ToUtcCivilTime(record.time_micros);
  char buffer[kLogPieceBufferSize];
  const int length = std::snprintf(
      buffer, sizeof(buffer), "%04d-%02d-%02d %02d:%02d:%02d.%03d %02u:%02u ", t.year,
      t.month, t.day, t.hour, t.minute, t.second, t.millisecond,
      static_cast<unsigned>(record.process_id), static_cast<unsigned>(record.thread_id));
  if (length < 0 || static_cast<size_t>(length) + 1 >= sizeof(buffer)) return std::nullopt;
  return std::string(buffer, static_cast<size_t>(length));
}

std::optional<std::string> FormatLogOrigin(const LogRecord& record) {
  char buffer[kLogPieceBufferSize];
  const int length = std::snprintf(buffer, sizeof(buffer), " (%s:%d)",
                                   record.function ? record.function : "",
                                   static_cast<int>(record.line));
  if (length < 0 || static_cast<size_t>(length) + 1 >= sizeof(buffer)) return std::nullopt;
  return std::string(buffer, static_cast<size_t>(length));
}

std::string FormatLogLine(const std::string& prefix, const LogRecord& record,
                          const std::string& origin) {
  std::string line = prefix;
  line.append(LogSeverityName(record.severity));
  line.append(": ");
  line.append(record.message);
  line.append(origin);
  line.push_back('\n');
  return line;
}

bool NeedsRotation(uint64_t file_length, size_t prefix_length, size_t message_length,
                   uint64_t max_size) {
  return file_length + prefix_length + message_length >= max_size;
}

FilePath RotatedLogPath(const FilePath& log_path) {
  return log_path.InsertBeforeExtension(u"_old");
}

std::u16string LogMutexName(const FilePath& log_path) {
  return u"tlupdater log " + WidenBytes(MD5HexDigest(UTF16ToUTF8(log_path.value())));
}

std::string RotationFailureNotice(const std::string& prefix, const FilePath& log_path,
                                  int file_error) {
  return prefix + "LOGGING: Failed to rotate log file " + UTF16ToUTF8(log_path.value()) +
         ": " + std::to_string(file_error) + "\n";
}

std::string LockFailureNotice(const std::string& prefix, const FilePath& log_path) {
  return prefix + "LOGGING: Failed to lock log file " + UTF16ToUTF8(log_path.value()) + "\n";
}

std::string AbandonedMutexNotice(const std::string& prefix, const FilePath& log_path) {
  return prefix + "LOGGING: Abandoned log mutex recovered for file " +
         UTF16ToUTF8(log_path.value()) + "\n";
}

int FileErrorFromSystemError(uint32_t windows_error) {
  // Windows error codes, by number, so that the table needs no Windows header.
  struct Row {
    uint32_t windows_error;
    int file_error;
  };
  static constexpr Row kTable[] = {
      {0, kFileOk},                        // ERROR_SUCCESS
      {2, kFileErrorNotFound},             // ERROR_FILE_NOT_FOUND
      {3, kFileErrorNotFound},             // ERROR_PATH_NOT_FOUND
      {4, kFileErrorTooManyOpened},        // ERROR_TOO_MANY_OPEN_FILES
      {5, kFileErrorAccessDenied},         // ERROR_ACCESS_DENIED
      {8, kFileErrorNoMemory},             // ERROR_NOT_ENOUGH_MEMORY
      {14, kFileErrorNoMemory},            // ERROR_OUTOFMEMORY
      {15, kFileErrorNotFound},            // ERROR_INVALID_DRIVE
      {19, kFileErrorAccessDenied},        // ERROR_WRITE_PROTECT
      {23, kFileErrorIO},                  // ERROR_CRC
      {32, kFileErrorInUse},               // ERROR_SHARING_VIOLATION
      {33, kFileErrorInUse},               // ERROR_LOCK_VIOLATION
      {39, kFileErrorNoSpace},             // ERROR_HANDLE_DISK_FULL
      {50, kFileErrorInvalidOperation},    // ERROR_NOT_SUPPORTED
      {80, kFileErrorExists},              // ERROR_FILE_EXISTS
      {112, kFileErrorNoSpace},            // ERROR_DISK_FULL
      {183, kFileErrorExists},             // ERROR_ALREADY_EXISTS
      {1117, kFileErrorIO},                // ERROR_IO_DEVICE
      {1392, kFileErrorIO},                // ERROR_FILE_CORRUPT
  };
  for (const Row& row : kTable) {
    if (row.windows_error == windows_error) return row.file_error;
  }
  return kFileErrorFailed;
}

}  // namespace lite
