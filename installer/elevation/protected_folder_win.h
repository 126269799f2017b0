// The setup archive as the elevated copy runs it. The path the first
// installer hands over lies in a folder the user can write, so the copy
// makes its own: a fresh folder under the system's temporary folder that
// only Administrators and SYSTEM can write, the archive copied into it and
// held open denying write and delete for as long as this object lives.
// The copy is verified through that handle and launched by that path while
// the handle is open, so what runs is what was verified.
#ifndef INSTALLER_ELEVATION_PROTECTED_ARCHIVE_COPY_WIN_H_
#define INSTALLER_ELEVATION_PROTECTED_ARCHIVE_COPY_WIN_H_

#include <windows.h>

#include <memory>

#include "base/file_path.h"
#include "base/scoped_handle_win.h"

namespace lite {

// Administrators and SYSTEM have full control; nobody else has any access,
// and nothing is inherited from the folder above.
inline constexpr wchar_t kProtectedFolderSecurity[] = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

// %SystemRoot%\Temp; empty when the system folder cannot be read.
FilePath GetSystemTempDir();

class ProtectedArchiveCopy {
 public:
  // Copies |source| into a new folder under |parent|. Null, with the
  // failure logged, when any step fails; nothing is left behind then.
  static std::unique_ptr<ProtectedArchiveCopy> Create(const FilePath& source,
                                                      const FilePath& parent);
  ProtectedArchiveCopy(const ProtectedArchiveCopy&) = delete;
  ProtectedArchiveCopy& operator=(const ProtectedArchiveCopy&) = delete;
  // Closes the file, then deletes it and the folder.
  ~ProtectedArchiveCopy();

  const FilePath& folder() const { return folder_; }
  const FilePath& path() const { return path_; }
  // Read and execute access; shared for reading only.
  HANDLE file() const { return file_.get(); }

 private:
  explicit ProtectedArchiveCopy(const FilePath& folder) : folder_(folder) {}
  bool CopyFrom(const FilePath& source);

  const FilePath folder_;
  FilePath path_;
  ScopedHandle file_;
};

}  // namespace lite

#endif  // INSTALLER_ELEVATION_PROTECTED_ARCHIVE_COPY_WIN_H_
