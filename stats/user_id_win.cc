#include "stats/user_id_win.h"

#include <shlobj.h>

#include <optional>

#include "base/file_util_win.h"
#include "base/guid.h"
#include "base/registry_win.h"
#include "base/wide_string_win.h"
#include "base/windows_version_win.h"
#include "logging/system_error_win.h"

namespace lite {
namespace {

constexpr uint64_t kMaxUserIdFileSize = 65;
constexpr size_t kMaxUserIdLength = 64;

std::optional<std::string> ReadUserIdFromFile(const FilePath& path) {
  const std::optional<std::string> content = ReadFileWithLimit(path, kMaxUserIdFileSize);
  if (!content) {
    LOG(ERROR) << "Failed to read file " << path;
    return std::nullopt;
  }
  if (content->empty() || content->size() > kMaxUserIdLength) {
    LOG(ERROR) << "Incorrect User ID file content";
    return std::nullopt;
  }
  return content;
}

bool UserIdMarkerExists() {
  const std::u16string name = UserIdMarkerName();
  if (name.empty()) return false;
  if (RegistryValueExist(HKEY_CURRENT_USER, kUserIdMarkerKey, name)) return true;
  return GetWindowsVersion().IsVistaOrLater() &&
         RegistryValueExist(HKEY_CURRENT_USER, kUserIdMarkerKeyLowIntegrity, name);
}

}  // namespace

std::u16string UserIdMarkerName() {
  wchar_t user[257];
  DWORD size = 257;
  if (!GetUserNameW(user, &size)) return std::u16string();
  return u"UICreated_" + FromWide(user);
}

std::string GetUserIdInternal(UserIdLookup lookup) {
  const FilePath path = GetUserIdFilePath(false);
  if (!path.empty() && PathExists(path)) {
    if (std::optional<std::string> user_id = ReadUserIdFromFile(path)) return *user_id;
  }
  if (lookup == UserIdLookup::kReadOnly) {
    LOG(INFO) << "No usable User ID file; this process does not create one";
    return std::string();
  }
  if (UserIdMarkerExists()) {
    LOG(INFO) << "Registry entry already exists, skip User ID file generation";
    return std::string();
  }
  std::string user_id;
  return GenerateAndStoreUserId(&user_id) ? user_id : std::string();
}

std::string GetUserId(UserIdLookup lookup) { return StripGuidBraces(GetUserIdInternal(lookup)); }

FilePath GetUserIdFilePath(bool create_folder) {
  wchar_t app_data[MAX_PATH];
  if (!SHGetSpecialFolderPathW(nullptr, app_data, CSIDL_APPDATA, create_folder)) {
    PLOG(ERROR) << "Can't get path to AppData folder";
    return FilePath();
  }
  const FilePath folder = FilePath(FromWide(app_data)).Append(u"Tolvar");
  if (create_folder && !CreateDirectoryWithParents(folder)) {
    PLOG(ERROR) << "Can't create directory: " << folder;
    return FilePath();
  }
  return folder.Append(u"ui");
}

bool GenerateAndStoreUserId(std::string* user_id) {
  // A failed CoCreateGuid still writes (an empty identifier), as the marker
  // must record that an attempt was made for this user.
  const std::optional<Guid> guid = CreateGuid();
  *user_id = guid ? GuidToString(*guid) : std::string();
  const FilePath path = GetUserIdFilePath(true);
  if (path.empty()) return false;
  if (!WriteWholeFile(path, *user_id)) {
    LOG(ERROR) << "Can't write file " << path;
    return false;
  }
  if (!RememberUidIsCreated()) {
    LOG(ERROR) << "Can't create 'UI created' entry";
    return false;
  }
  return true;
}

bool RememberUidIsCreated() {
  const std::u16string name = UserIdMarkerName();
  if (name.empty()) return false;
  const std::u16string key = GetWindowsVersion().IsVistaOrLater()
                                 ? kUserIdMarkerKeyLowIntegrity
                                 : kUserIdMarkerKey;
  RegistryKey marker;
  LONG result = marker.Create(HKEY_CURRENT_USER, key, KEY_SET_VALUE);
  if (result != ERROR_SUCCESS) {
    PLOG_CODE(ERROR, result) << "Can't open registry key: " << key;
    return false;
  }
  result = marker.WriteDword(name, 1);
  if (result != ERROR_SUCCESS) {
    PLOG_CODE(ERROR, result) << "Can't create registry value '" << name << "' at '" << key
                             << "'";
    return false;
  }
  return true;
}

bool RegistryValueExist(HKEY root, const std::u16string& key, const std::u16string& name) {
  RegistryKey opened;
  const LONG result = opened.Open(root, key, KEY_READ);
  if (result != ERROR_SUCCESS) {
    if (result != ERROR_FILE_NOT_FOUND) {
      PLOG_CODE(ERROR, result) << "Can't open registry key: " << key;
    }
    return false;
  }
  return opened.HasValue(name);
}

}  // namespace lite
