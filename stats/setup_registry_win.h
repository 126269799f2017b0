// The per-user values handed to the browser's setup program, under
// HKEY_CURRENT_USER\Software\Tolvar\TolvarBrowser (32-bit view, REG_SZ).
// Every store and removal writes one info line; a failure is logged and
// otherwise ignored by the callers.
#ifndef STATS_SETUP_REGISTRY_WIN_H_
#define STATS_SETUP_REGISTRY_WIN_H_

#include <optional>
#include <string>

namespace lite {

inline constexpr char16_t kSetupRegistryKey[] = u"Software\\Tolvar\\TolvarBrowser";

// "Stored HKEY_CURRENT_USER\<key>\<name> = <value>", or "Failed to store ...".
bool StoreSetupValue(const std::u16string& name, const std::u16string& value);

// "Removed HKEY_CURRENT_USER\<key>\<name>", "Failed to remove ..." or
// "No value to remove: HKEY_CURRENT_USER\<key>\<name>". True when the value
// is gone afterwards.
bool RemoveSetupValue(const std::u16string& name);

// The value's text, or nothing when the key or value is missing.
std::optional<std::u16string> ReadSetupValue(const std::u16string& name);

}  // namespace lite

#endif  // STATS_SETUP_REGISTRY_WIN_H_
