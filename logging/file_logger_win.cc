#include "logging/file_logger_win.h"

#include <windows.h>

#include "base/debug_log.h"
#include "base/file_util_win.h"
#include "base/scoped_handle_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "logging/log_file_lock_win.h"
#include "logging/log_format.h"

namespace lite {
namespace {

// Install-mode suffix of the log file name; empty in this product.
constexpr char16_t kInstallModeSuffix[] = u"";

// Moves |from| over |to|; the Windows error on failure, 0 on success.
DWORD MoveLogAside(const FilePath& from, const FilePath& to) {
  if (ReplaceFileW(AsWide(to.value()), AsWide(from.value()), nullptr, 0, nullptr,
                   nullptr)) {
    return 0;
  }
  // ReplaceFileW needs an existing file to replace; the first rotation has none.
  if (MoveFileW(AsWide(from.value()), AsWide(to.value()))) return 0;
  const DWORD error = GetLastError();
  return error ? error : ERROR_GEN_FAILURE;
}

// An existing file for appending, opened as itself when it is a link.
ScopedHandle OpenExistingFileForAppend(const FilePath& path) {
  return ScopedHandle(CreateFileW(AsWide(path.value()), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

}  // namespace

FileLogger::FileLogger(FilePath path, uint32_t max_size, Access access)
    : path_(std::move(path)),
      max_size_(max_size),
      access_(access),
      rotation_disabled_(access == Access::kAppendToExisting) {}

void FileLogger::Emit(const LogRecord& record) {
  const std::optional<std::string> prefix = FormatLogPrefix(record);
  const std::optional<std::string> origin = FormatLogOrigin(record);
  if (!prefix || !origin) return;

  const LogFileLock lock(path_);

  ScopedHandle file;
  if (access_ == Access::kAppendToExisting) {
    file = OpenExistingFileForAppend(path_);
  } else {
    const FilePath dir = path_.DirName();
    if (!dir.empty() && !CreateDirectoryWithParents(dir)) return;
    file = OpenFileForAppend(path_);
  }
  if (!file) return;

  std::string text;
  if (!rotation_disabled_) {
    LARGE_INTEGER length;
    if (!GetFileSizeEx(file.get(), &length)) {
      DLOG(ERROR) << "Unable to get file length.";
    } else if (NeedsRotation(static_cast<uint64_t>(length.QuadPart), prefix->size(),
                             record.message.size(), max_size_)) {
      file.reset();
      const DWORD move_error = MoveLogAside(path_, RotatedLogPath(path_));
      file = OpenFileForAppend(path_);
      if (file && move_error != 0) {
        rotation_disabled_ = true;
        text = RotationFailureNotice(*prefix, path_, FileErrorFromSystemError(move_error));
      }
    }
  }
  if (!file) return;

  text += lock.Notices(*prefix, path_, &lock_failure_reported_);
  text += FormatLogLine(*prefix, record, *origin);

  DWORD written = 0;
  WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

FilePath GetInstallerLogPath() {
  const std::u16string name =
      u"lite_installer" + WidenBytes(NarrowLowBytes(kInstallModeSuffix)) + u".log";
  const FilePath dir = GetUserTempDir();
  return dir.empty() ? FilePath(name) : dir.Append(name);
}

}  // namespace lite
