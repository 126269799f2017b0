// The files the elevated copy hands setup. What the first installer hands
// over lies in folders the user can write, so the copy makes its own: a
// fresh folder under the system's temporary folder that only
// Administrators and SYSTEM can write, each file copied into it and held
// open denying write and delete for as long as this object lives. The
// archive is verified through its handle and launched by its path while
// the handle is open, so what runs is what was verified; setup reads the
// other files where nobody else can change them.
#ifndef INSTALLER_ELEVATION_PROTECTED_FOLDER_WIN_H_
#define INSTALLER_ELEVATION_PROTECTED_FOLDER_WIN_H_

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/file_path.h"
#include "base/scoped_handle_win.h"

namespace lite {

// Administrators and SYSTEM have full control; nobody else has any access,
// and nothing is inherited from the folder above.
inline constexpr wchar_t kProtectedFolderSecurity[] = L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

// %SystemRoot%\Temp; empty when the system folder cannot be read.
FilePath GetSystemTempDir();

class ProtectedFolder {
 public:
  struct File {
    FilePath path;
    ScopedHandle handle;
    uint64_t size = 0;
  };

  // A new folder under |parent|. Null, with the failure logged, when it
  // cannot be made.
  static std::unique_ptr<ProtectedFolder> Create(const FilePath& parent);
  ProtectedFolder(const ProtectedFolder&) = delete;
  ProtectedFolder& operator=(const ProtectedFolder&) = delete;
  // Closes the files, then deletes them and the folder.
  ~ProtectedFolder();

  const FilePath& path() const { return path_; }

  // Copies everything |source| reads from its start into a new file of the
  // folder named |name| (or, when that is no plain file name or is taken,
  // a name made from it), then holds the copy open with |access|, shared
  // for reading only. Null, with the failure logged, when any step fails.
  const File* AddCopy(HANDLE source, const std::u16string& name, DWORD access);

 private:
  explicit ProtectedFolder(const FilePath& path) : path_(path) {}
  std::u16string UniqueName(const std::u16string& name) const;

  const FilePath path_;
  std::vector<std::unique_ptr<File>> files_;
};

}  // namespace lite

#endif  // INSTALLER_ELEVATION_PROTECTED_FOLDER_WIN_H_
