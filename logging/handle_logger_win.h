// Appends records to a log file through a handle opened by someone else:
// the elevated copy of the installer writes the first installer's log
// through the handle that installer opened with its own rights, so the copy
// never opens, creates or moves anything by a path the user controls. The
// lines and the lock are those of FileLogger; the file is never rotated.
#ifndef LOGGING_HANDLE_LOGGER_WIN_H_
#define LOGGING_HANDLE_LOGGER_WIN_H_

#include "base/file_path.h"
#include "base/scoped_handle_win.h"
#include "logging/logger.h"

namespace lite {

class HandleLogger final : public Logger {
 public:
  // |file| is opened for appending; |log_path| names the lock shared with
  // the other writers and the file in notices.
  HandleLogger(ScopedHandle file, FilePath log_path);

  void Emit(const LogRecord& record) override;

 private:
  ScopedHandle file_;
  FilePath log_path_;
  bool lock_failure_reported_ = false;
};

}  // namespace lite

#endif  // LOGGING_HANDLE_LOGGER_WIN_H_
