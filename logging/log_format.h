// The layout of the log file: line pieces, notices, rotation rule and the
// names derived from the log path. Kept free of Windows calls so that the
// rules are tested on their own.
#ifndef LOGGING_LOG_FORMAT_H_
#define LOGGING_LOG_FORMAT_H_

#include <cstdint>
#include <optional>
#include <string>

#include "base/file_path.h"
#include "logging/log_record.h"

namespace lite {

// A formatted piece that needs 200 bytes or more, terminator included, is
// refused, and the record with it.
constexpr size_t kLogPieceBufferSize = 200;

// "2024-01-31 09:15:02.047 5124:7788 " (UTC), or nullopt when too long.
std::optional<std::string> FormatLogPrefix(const LogRecord& record);
// " (wWinMain:220)", or nullopt when too long.
std::optional<std::string> FormatLogOrigin(const LogRecord& record);
// prefix + "INFO: " + message + origin + "\n".
std::string FormatLogLine(const std::string& prefix, const LogRecord& record,
                          const std::string& origin);

// The file is rotated before a record when its length plus the record's
// prefix and message would reach |max_size|.
bool NeedsRotation(uint64_t file_length, size_t prefix_length, size_t message_length,
                   uint64_t max_size);

// lite_installer.log -> lite_installer_old.log
FilePath RotatedLogPath(const FilePath& log_path);
// "tlupdater log " + MD5 of the path's UTF-8 bytes in lower-case hex.
std::u16string LogMutexName(const FilePath& log_path);

std::string RotationFailureNotice(const std::string& prefix, const FilePath& log_path,
                                  int file_error);
std::string LockFailureNotice(const std::string& prefix, const FilePath& log_path);
std::string AbandonedMutexNotice(const std::string& prefix, const FilePath& log_path);

// File error numbers written in the rotation notice: 0 for success,
// negative for a failure.
enum FileError : int {
  kFileOk = 0,
  kFileErrorFailed = -1,
  kFileErrorInUse = -2,
  kFileErrorExists = -3,
  kFileErrorNotFound = -4,
  kFileErrorAccessDenied = -5,
  kFileErrorTooManyOpened = -6,
  kFileErrorNoMemory = -7,
  kFileErrorNoSpace = -8,
  kFileErrorInvalidOperation = -10,
  kFileErrorIO = -16,
};
// Maps a Windows error code to the file error number.
int FileErrorFromSystemError(uint32_t windows_error);

}  // namespace lite

#endif  // LOGGING_LOG_FORMAT_H_
