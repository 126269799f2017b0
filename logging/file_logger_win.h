#ifndef LOGGING_FILE_LOGGER_WIN_H_
#define LOGGING_FILE_LOGGER_WIN_H_

#include <cstdint>

#include "base/file_path.h"
#include "logging/logger.h"

namespace lite {

// Appends records to a file shared by every installer process of a run.
// Each record is written under a named mutex derived from the path, with one
// write, the file opened and closed around it, so that a crash loses nothing
// already logged. The file is moved aside once it reaches |max_size|.
class FileLogger final : public Logger {
 public:
  enum class Access {
    kCreateAndRotate,
    // For a process with more rights than the folder's owner: only an
    // existing file is written, never created, moved aside or followed
    // through a link; a full file grows.
    kAppendToExisting,
  };

  FileLogger(FilePath path, uint32_t max_size, Access access = Access::kCreateAndRotate);

  void Emit(const LogRecord& record) override;

  const FilePath& path() const { return path_; }

 private:
  FilePath path_;
  uint32_t max_size_;
  Access access_;
  bool rotation_disabled_ = false;
  bool lock_failure_reported_ = false;
};

// The path every installer process logs to: the user's temporary directory
// and "lite_installer" + the install-mode suffix + ".log".
FilePath GetInstallerLogPath();
constexpr uint32_t kInstallerLogMaxSize = 1048576;

}  // namespace lite

#endif  // LOGGING_FILE_LOGGER_WIN_H_
