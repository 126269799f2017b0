#include "net/module_file_win.h"

#include "base/wide_string_win.h"

namespace lite {

bool ModuleFile::Create(const FilePath& path) {
  path_ = path;
  handle_.reset(CreateFileW(AsWide(path.value()), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return IsValid();
}

bool ModuleFile::ReopenReadOnly() {
  if (!IsValid()) return false;
  constexpr DWORD kAccess = GENERIC_READ | GENERIC_EXECUTE;
  // Our own write handle is open, so a handle that shares only reading
  // cannot be opened yet. First share writing too (which admits our
  // handle), drop the write handle, then narrow the sharing to reading.
  ScopedHandle bridge(ReOpenFile(handle_.get(), kAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, 0));
  handle_.reset();
  if (!bridge.is_valid()) return false;
  handle_.reset(ReOpenFile(bridge.get(), kAccess, FILE_SHARE_READ, 0));
  return IsValid();
}

}  // namespace lite
