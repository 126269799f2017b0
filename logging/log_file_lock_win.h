// The named mutex every writer of one log file takes around its write, for
// at most a second: a writer that cannot get it writes all the same.
#ifndef LOGGING_LOG_FILE_LOCK_WIN_H_
#define LOGGING_LOG_FILE_LOCK_WIN_H_

#include <windows.h>

#include <string>

#include "base/file_path.h"
#include "base/scoped_handle_win.h"

namespace lite {

class LogFileLock {
 public:
  explicit LogFileLock(const FilePath& log_path);
  LogFileLock(const LogFileLock&) = delete;
  LogFileLock& operator=(const LogFileLock&) = delete;

  bool acquired() const { return acquired_; }
  // Acquired, but a writer died holding it.
  bool abandoned() const { return wait_ == WAIT_ABANDONED; }

  // The notices a writer puts before its line: the lock could not be had
  // (once per writer, tracked in |*failure_reported|) or its last holder died.
  std::string Notices(const std::string& prefix, const FilePath& log_path,
                      bool* failure_reported) const;

 private:
  ScopedHandle mutex_;
  DWORD wait_;
  bool acquired_;
  // Declared after |mutex_| so that it releases before the handle closes.
  ScopedMutexRelease release_;
};

}  // namespace lite

#endif  // LOGGING_LOG_FILE_LOCK_WIN_H_
