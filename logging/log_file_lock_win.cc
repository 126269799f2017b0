#include "logging/log_file_lock_win.h"

#include "base/wide_string_win.h"
#include "logging/log_format.h"

namespace lite {
namespace {

constexpr DWORD kLockTimeoutMs = 1000;

}  // namespace

LogFileLock::LogFileLock(const FilePath& log_path)
    : mutex_(CreateMutexW(nullptr, FALSE, AsWide(LogMutexName(log_path)))),
      wait_(mutex_ ? WaitForSingleObject(mutex_.get(), kLockTimeoutMs) : WAIT_FAILED),
      acquired_(wait_ == WAIT_OBJECT_0 || wait_ == WAIT_ABANDONED),
      release_(acquired_ ? mutex_.get() : nullptr) {}

std::string LogFileLock::Notices(const std::string& prefix, const FilePath& log_path,
                                 bool* failure_reported) const {
  std::string text;
  if (!acquired_ && !*failure_reported) {
    *failure_reported = true;
    text += LockFailureNotice(prefix, log_path);
  }
  if (abandoned()) text += AbandonedMutexNotice(prefix, log_path);
  return text;
}

}  // namespace lite
