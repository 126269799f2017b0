#include "stats/setup_registry_win.h"

#include <windows.h>

#include "base/registry_win.h"
#include "base/utf.h"
#include "logging/log_message.h"

namespace lite {

namespace {

std::string ValuePath(const std::u16string& name) {
  return "HKEY_CURRENT_USER\\" + UTF16ToUTF8(kSetupRegistryKey) + "\\" + UTF16ToUTF8(name);
}

}  // namespace

bool StoreSetupValue(const std::u16string& name, const std::u16string& value) {
  RegistryKey key;
  bool stored = key.Create(HKEY_CURRENT_USER, kSetupRegistryKey, KEY_SET_VALUE) == ERROR_SUCCESS &&
                key.WriteString(name, value) == ERROR_SUCCESS;
  LOG_FROM(INFO, "StoreSetupValue") << (stored ? "Stored " : "Failed to store ")
                                    << ValuePath(name) << " = " << UTF16ToUTF8(value);
  return stored;
}

bool RemoveSetupValue(const std::u16string& name) {
  RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, kSetupRegistryKey, KEY_QUERY_VALUE | KEY_SET_VALUE) !=
          ERROR_SUCCESS ||
      !key.HasValue(name)) {
    LOG_FROM(INFO, "RemoveSetupValue") << "No value to remove: " << ValuePath(name);
    return true;
  }
  const bool removed = key.DeleteValue(name) == ERROR_SUCCESS;
  LOG_FROM(INFO, "RemoveSetupValue") << (removed ? "Removed " : "Failed to remove ")
                                     << ValuePath(name);
  return removed;
}

std::optional<std::u16string> ReadSetupValue(const std::u16string& name) {
  RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, kSetupRegistryKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return key.ReadString(name);
}

}  // namespace lite
