#include "base/registry_win.h"

#include <vector>

#include "base/wide_string_win.h"

namespace lite {

LONG RegistryKey::Open(HKEY root, const std::u16string& path, REGSAM access) {
  HKEY key = nullptr;
  const LONG result =
      RegOpenKeyExW(root, AsWide(path), 0, access | KEY_WOW64_32KEY, &key);
  key_.reset(result == ERROR_SUCCESS ? key : nullptr);
  return result;
}

LONG RegistryKey::Create(HKEY root, const std::u16string& path, REGSAM access) {
  HKEY key = nullptr;
  const LONG result =
      RegCreateKeyExW(root, AsWide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      access | KEY_WOW64_32KEY, nullptr, &key, nullptr);
  key_.reset(result == ERROR_SUCCESS ? key : nullptr);
  return result;
}

bool RegistryKey::HasValue(const std::u16string& name) const {
  return RegQueryValueExW(key_.get(), AsWide(name), nullptr, nullptr, nullptr,
                          nullptr) == ERROR_SUCCESS;
}

std::optional<std::u16string> RegistryKey::ReadString(const std::u16string& name) const {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key_.get(), AsWide(name), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::vector<char16_t> buffer(size / sizeof(char16_t) + 1, u'\0');
  if (RegQueryValueExW(key_.get(), AsWide(name), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The stored value may or may not carry its terminator.
  std::u16string value(buffer.data(), size / sizeof(char16_t));
  while (!value.empty() && value.back() == u'\0') value.pop_back();
  return value;
}

std::optional<DWORD> RegistryKey::ReadDword(const std::u16string& name) const {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  if (RegQueryValueExW(key_.get(), AsWide(name), nullptr, &type,
                       reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD) {
    return std::nullopt;
  }
  return value;
}

LONG RegistryKey::WriteString(const std::u16string& name, const std::u16string& value) {
  return RegSetValueExW(key_.get(), AsWide(name), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
}

LONG RegistryKey::WriteDword(const std::u16string& name, DWORD value) {
  return RegSetValueExW(key_.get(), AsWide(name), 0, REG_DWORD,
                        reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG RegistryKey::DeleteValue(const std::u16string& name) {
  return RegDeleteValueW(key_.get(), AsWide(name));
}

}  // namespace lite
