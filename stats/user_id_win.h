// The per-user random identifier sent with statistics and crash reports:
// a GUID kept in %APPDATA%\Tolvar\ui, created once per Windows user. A
// registry marker remembers that it was created, so a deleted file is not
// silently replaced by a new identity.
#ifndef STATS_USER_ID_WIN_H_
#define STATS_USER_ID_WIN_H_

#include <windows.h>

#include <string>

#include "base/file_path.h"

namespace lite {

// Whether a lookup may create the identifier. An elevated installer only
// reads it: it creates no file in the user's folders.
enum class UserIdLookup { kCreateWhenMissing, kReadOnly };

// The identifier with its braces, or empty. Reads the file every time.
std::string GetUserIdInternal(UserIdLookup lookup = UserIdLookup::kCreateWhenMissing);
// The same without one enclosing pair of braces.
std::string GetUserId(UserIdLookup lookup = UserIdLookup::kCreateWhenMissing);

FilePath GetUserIdFilePath(bool create_folder);
bool GenerateAndStoreUserId(std::string* user_id);
bool RememberUidIsCreated();
bool RegistryValueExist(HKEY root, const std::u16string& key, const std::u16string& name);

// Registry places of the creation marker.
inline constexpr char16_t kUserIdMarkerKey[] = u"Software\\Tolvar";
inline constexpr char16_t kUserIdMarkerKeyLowIntegrity[] = u"Software\\AppDataLow\\Tolvar";
// "UICreated_" + the Windows user name, or empty when the name is unknown.
std::u16string UserIdMarkerName();

}  // namespace lite

#endif  // STATS_USER_ID_WIN_H_
