#ifndef NET_MODULE_FILE_WIN_H_
#define NET_MODULE_FILE_WIN_H_

#include <windows.h>

#include "base/file_path.h"
#include "base/scoped_handle_win.h"

namespace lite {

// The downloaded setup archive, held open from its creation to the end of
// the setup run so that nobody else can write it.
class ModuleFile {
 public:
  // Creates (or replaces) |path| for writing; others may only read it.
  bool Create(const FilePath& path);
  bool IsValid() const { return handle_.is_valid(); }
  HANDLE GetHandle() const { return handle_.get(); }
  const FilePath& path() const { return path_; }
  // Trades the write handle for a read-and-execute one while still letting
  // no one else write the file (see the .cc for why in two steps).
  bool ReopenReadOnly();
  void Close() { handle_.reset(); }

 private:
  FilePath path_;
  ScopedHandle handle_;
};

}  // namespace lite

#endif  // NET_MODULE_FILE_WIN_H_
