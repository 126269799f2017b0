#include "installer/elevation/protected_archive_copy_win.h"

#include <sddl.h>

#include <optional>
#include <string>

#include "base/guid.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "logging/system_error_win.h"

namespace lite {
namespace {

constexpr char kFunction[] = "ExecuteAsAdmin";

// A new folder with the protected ACL; false when it exists already or
// cannot be made.
bool CreateProtectedFolder(const FilePath& folder) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
          kProtectedFolderSecurity, SDDL_REVISION_1, &descriptor, nullptr)) {
    PLOG_FROM(ERROR, kFunction) << "Cannot build the security of the archive folder";
    return false;
  }
  const ScopedLocalMemory owned_descriptor(descriptor);
  SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
  if (!CreateDirectoryW(AsWide(folder.value()), &attributes)) {
    PLOG_FROM(ERROR, kFunction) << "Cannot create the archive folder " << folder;
    return false;
  }
  return true;
}

}  // namespace

FilePath GetSystemTempDir() {
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return FilePath();
  return FilePath(FromWide(windows, length)).Append(u"Temp");
}

std::unique_ptr<ProtectedArchiveCopy> ProtectedArchiveCopy::Create(const FilePath& source,
                                                                   const FilePath& parent) {
  // An unpredictable name, made here and nowhere else.
  const std::optional<Guid> guid = CreateGuid();
  if (parent.empty() || !guid) {
    LOG_FROM(ERROR, kFunction) << "No folder for the archive copy under " << parent;
    return nullptr;
  }
  const FilePath folder =
      parent.Append(UTF8ToUTF16("tl" + StripGuidBraces(GuidToString(*guid))));
  if (!CreateProtectedFolder(folder)) return nullptr;
  std::unique_ptr<ProtectedArchiveCopy> copy(new ProtectedArchiveCopy(folder));
  if (!copy->CopyFrom(source)) return nullptr;  // the destructor clears up
  return copy;
}

bool ProtectedArchiveCopy::CopyFrom(const FilePath& source) {
  path_ = folder_.Append(source.BaseName());
  {
    // The source is only read; the copy is what gets checked.
    const ScopedHandle in(CreateFileW(AsWide(source.value()), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in) {
      PLOG_FROM(ERROR, kFunction) << "Cannot open the browser archive " << source;
      return false;
    }
    const ScopedHandle out(CreateFileW(AsWide(path_.value()), GENERIC_WRITE, 0, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
      PLOG_FROM(ERROR, kFunction) << "Cannot create the archive copy " << path_;
      return false;
    }
    std::string buffer(1 << 16, '\0');
    for (;;) {
      DWORD read = 0;
      if (!ReadFile(in.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
        PLOG_FROM(ERROR, kFunction) << "Cannot read the browser archive " << source;
        return false;
      }
      if (read == 0) break;
      DWORD written = 0;
      if (!WriteFile(out.get(), buffer.data(), read, &written, nullptr) || written != read) {
        PLOG_FROM(ERROR, kFunction) << "Cannot write the archive copy " << path_;
        return false;
      }
    }
  }
  file_.reset(CreateFileW(AsWide(path_.value()), GENERIC_READ | GENERIC_EXECUTE, FILE_SHARE_READ,
                          nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file_) {
    PLOG_FROM(ERROR, kFunction) << "Cannot lock the archive copy " << path_;
    return false;
  }
  return true;
}

ProtectedArchiveCopy::~ProtectedArchiveCopy() {
  file_.reset();
  if (!path_.empty() && !DeleteFileW(AsWide(path_.value())) &&
      GetLastError() != ERROR_FILE_NOT_FOUND) {
    PLOG_FROM(ERROR, kFunction) << "Cannot delete the archive copy " << path_;
  }
  if (!RemoveDirectoryW(AsWide(folder_.value()))) {
    PLOG_FROM(ERROR, kFunction) << "Cannot delete the archive folder " << folder_;
  }
}

}  // namespace lite
