// Per-user registry access. Keys are opened in the 32-bit view, the view the
// browser's setup program and the shipping 32-bit installer use.
#ifndef BASE_REGISTRY_WIN_H_
#define BASE_REGISTRY_WIN_H_

#include <windows.h>

#include <optional>
#include <string>

#include "base/scoped_handle_win.h"

namespace lite {

class RegistryKey {
 public:
  RegistryKey() = default;

  // RegOpenKeyExW / RegCreateKeyExW with KEY_WOW64_32KEY added to |access|.
  // The Windows result code is returned; ERROR_SUCCESS on success.
  LONG Open(HKEY root, const std::u16string& path, REGSAM access);
  LONG Create(HKEY root, const std::u16string& path, REGSAM access);

  bool is_valid() const { return key_.is_valid(); }
  HKEY get() const { return key_.get(); }

  bool HasValue(const std::u16string& name) const;
  std::optional<std::u16string> ReadString(const std::u16string& name) const;
  std::optional<DWORD> ReadDword(const std::u16string& name) const;
  LONG WriteString(const std::u16string& name, const std::u16string& value);
  LONG WriteDword(const std::u16string& name, DWORD value);
  LONG DeleteValue(const std::u16string& name);

 private:
  ScopedRegKey key_;
};

}  // namespace lite

#endif  // BASE_REGISTRY_WIN_H_
