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

}  // namespace lite
