#include "installer/elevation/protected_folder_win.h"

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
bool CreateProtectedDirectory(const FilePath& folder) {
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

// A name that stays inside the folder: no separator, no stream, no device
// path, no step up, nothing the file system would trim.
bool IsPlainFileName(const std::u16string& name) {
  if (name.empty() || name.size() > 100 || name == u"." || name == u"..") return false;
  if (name.back() == u'.' || name.back() == u' ') return false;
  for (char16_t c : name) {
    if (c < 0x20 || c == u'\\' || c == u'/' || c == u':' || c == u'*' || c == u'?' ||
        c == u'"' || c == u'<' || c == u'>' || c == u'|') {
      return false;
    }
  }
  return true;
}

bool CopyContent(HANDLE in, HANDLE out, uint64_t* size) {
  LARGE_INTEGER start = {};
  if (!SetFilePointerEx(in, start, nullptr, FILE_BEGIN)) return false;
  std::string buffer(1 << 16, '\0');
  *size = 0;
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
      return false;
    }
    if (read == 0) return true;
    DWORD written = 0;
    if (!WriteFile(out, buffer.data(), read, &written, nullptr) || written != read) return false;
    *size += read;
  }
}

}  // namespace

FilePath GetSystemTempDir() {
  wchar_t windows[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return FilePath();
  return FilePath(FromWide(windows, length)).Append(u"Temp");
}

std::unique_ptr<ProtectedFolder> ProtectedFolder::Create(const FilePath& parent) {
  // An unpredictable name, made here and nowhere else.
  const std::optional<Guid> guid = CreateGuid();
  if (parent.empty() || !guid) {
    LOG_FROM(ERROR, kFunction) << "No folder for the archive copy under " << parent;
    return nullptr;
  }
  const FilePath folder =
      parent.Append(UTF8ToUTF16("tl" + StripGuidBraces(GuidToString(*guid))));
  if (!CreateProtectedDirectory(folder)) return nullptr;
  return std::unique_ptr<ProtectedFolder>(new ProtectedFolder(folder));
}

std::u16string ProtectedFolder::UniqueName(const std::u16string& name) const {
  const std::u16string base = IsPlainFileName(name) ? name : u"file";
  std::u16string candidate = base;
  for (size_t n = 1;; ++n) {
    bool taken = false;
    for (const auto& file : files_) {
      taken |= CompareStringOrdinal(AsWide(file->path.BaseName()), -1, AsWide(candidate), -1,
                                    TRUE) == CSTR_EQUAL;
    }
    if (!taken) return candidate;
    candidate = UTF8ToUTF16(std::to_string(n)) + u"_" + base;
  }
}

const ProtectedFolder::File* ProtectedFolder::AddCopy(HANDLE source, const std::u16string& name,
                                                       DWORD access) {
  auto file = std::make_unique<File>();
  file->path = path_.Append(UniqueName(name));
  {
    const ScopedHandle out(CreateFileW(AsWide(file->path.value()), GENERIC_WRITE, 0, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) {
      PLOG_FROM(ERROR, kFunction) << "Cannot create the copy " << file->path;
      return nullptr;
    }
    if (!CopyContent(source, out.get(), &file->size)) {
      PLOG_FROM(ERROR, kFunction) << "Cannot copy " << name << " to " << file->path;
      files_.push_back(std::move(file));  // the destructor deletes what was written
      return nullptr;
    }
  }
  file->handle.reset(CreateFileW(AsWide(file->path.value()), access, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
  const bool held = file->handle.is_valid();
  if (!held) PLOG_FROM(ERROR, kFunction) << "Cannot lock the copy " << file->path;
  files_.push_back(std::move(file));
  return held ? files_.back().get() : nullptr;
}

ProtectedFolder::~ProtectedFolder() {
  for (const auto& file : files_) {
    file->handle.reset();
    if (!DeleteFileW(AsWide(file->path.value())) && GetLastError() != ERROR_FILE_NOT_FOUND) {
      PLOG_FROM(ERROR, kFunction) << "Cannot delete the copy " << file->path;
    }
  }
  if (!RemoveDirectoryW(AsWide(path_.value()))) {
    PLOG_FROM(ERROR, kFunction) << "Cannot delete the archive folder " << path_;
  }
}

}  // namespace lite
