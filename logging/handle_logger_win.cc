#include "logging/handle_logger_win.h"

#include <windows.h>

#include <optional>
#include <string>

#include "logging/log_file_lock_win.h"
#include "logging/log_format.h"

namespace lite {

HandleLogger::HandleLogger(ScopedHandle file, FilePath log_path)
    : file_(std::move(file)), log_path_(std::move(log_path)) {}

void HandleLogger::Emit(const LogRecord& record) {
  const std::optional<std::string> prefix = FormatLogPrefix(record);
  const std::optional<std::string> origin = FormatLogOrigin(record);
  if (!prefix || !origin || !file_) return;

  const LogFileLock lock(log_path_);
  std::string text = lock.Notices(*prefix, log_path_, &lock_failure_reported_);
  text += FormatLogLine(*prefix, record, *origin);
  // Opened for appending only: each write lands whole at the end.
  DWORD written = 0;
  WriteFile(file_.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace lite
