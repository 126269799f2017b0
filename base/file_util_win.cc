#include "base/file_util_win.h"

#include <windows.h>

#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"

namespace lite {

bool PathExists(const FilePath& path) {
  return GetFileAttributesW(AsWide(path.value())) != INVALID_FILE_ATTRIBUTES;
}

bool DirectoryExists(const FilePath& path) {
  const DWORD attributes = GetFileAttributesW(AsWide(path.value()));
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDirectoryWithParents(const FilePath& dir) {
  if (dir.empty()) return false;
  if (DirectoryExists(dir)) return true;
  const FilePath parent = dir.DirName();
  if (!parent.empty() && parent != dir && !CreateDirectoryWithParents(parent)) {
    return false;
  }
  if (CreateDirectoryW(AsWide(dir.value()), nullptr)) return true;
  // Another process may have made it in the meantime.
  return GetLastError() == ERROR_ALREADY_EXISTS && DirectoryExists(dir);
}

std::optional<FilePath> CreateUniqueTempDir(const std::u16string& prefix) {
  const FilePath temp = GetUserTempDir();
  if (temp.empty()) return std::nullopt;
  for (int attempt = 0; attempt < 100; ++attempt) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    wchar_t name[64];
    swprintf(name, 64, L"%ls%lu_%llx", AsWide(prefix),
             static_cast<unsigned long>(GetCurrentProcessId()),
             static_cast<unsigned long long>(counter.QuadPart + attempt));
    const FilePath candidate = temp.Append(FromWide(name));
    if (CreateDirectoryW(AsWide(candidate.value()), nullptr)) return candidate;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::nullopt;
  }
  return std::nullopt;
}

std::optional<FilePath> CreateTemporaryFileInDir(const FilePath& dir,
                                                 const std::u16string& prefix) {
  wchar_t name[MAX_PATH];
  if (!GetTempFileNameW(AsWide(dir.value()), AsWide(prefix), 0, name)) {
    return std::nullopt;
  }
  return FilePath(FromWide(name));
}

std::optional<std::string> ReadFileWithLimit(const FilePath& path, uint64_t max_size) {
  ScopedHandle file(CreateFileW(AsWide(path.value()), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) ||
      static_cast<uint64_t>(size.QuadPart) > max_size) {
    return std::nullopt;
  }
  std::string data(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < data.size()) {
    DWORD read = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1 << 20));
    if (!ReadFile(file.get(), &data[done], chunk, &read, nullptr)) return std::nullopt;
    if (read == 0) break;
    done += read;
  }
  data.resize(done);
  return data;
}

bool WriteWholeFile(const FilePath& path, const std::string& data) {
  ScopedHandle file(CreateFileW(AsWide(path.value()), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  size_t done = 0;
  while (done < data.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1 << 20));
    // A write that reports success but stores nothing would never finish.
    if (!WriteFile(file.get(), data.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

bool DeleteFileIfExists(const FilePath& path) {
  return DeleteFileW(AsWide(path.value())) || GetLastError() == ERROR_FILE_NOT_FOUND ||
         GetLastError() == ERROR_PATH_NOT_FOUND;
}

bool DeletePathRecursively(const FilePath& path) {
  const DWORD attributes = GetFileAttributesW(AsWide(path.value()));
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileIfExists(path);
  // A junction or directory link is removed itself: what it points to is
  // not part of the tree being deleted.
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return RemoveDirectoryW(AsWide(path.value()));
  WIN32_FIND_DATAW found;
  ScopedFindHandle find(
      FindFirstFileW(AsWide(path.Append(u"*").value()), &found));
  bool ok = true;
  if (find) {
    do {
      const std::u16string name = FromWide(found.cFileName);
      if (name == u"." || name == u"..") continue;
      ok = DeletePathRecursively(path.Append(name)) && ok;
    } while (FindNextFileW(find.get(), &found));
  }
  find.reset();
  return RemoveDirectoryW(AsWide(path.value())) && ok;
}

std::vector<FilePath> EnumerateFiles(const FilePath& dir, const std::u16string& pattern) {
  std::vector<FilePath> files;
  WIN32_FIND_DATAW found;
  ScopedFindHandle find(FindFirstFileW(AsWide(dir.Append(pattern).value()), &found));
  if (!find) return files;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      files.push_back(dir.Append(FromWide(found.cFileName)));
    }
  } while (FindNextFileW(find.get(), &found));
  return files;
}

std::optional<uint64_t> GetFileSize(const FilePath& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(AsWide(path.value()), GetFileExInfoStandard, &data)) {
    return std::nullopt;
  }
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

ScopedHandle OpenFileForAppend(const FilePath& path) {
  return ScopedHandle(CreateFileW(AsWide(path.value()), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

FilePath GetUserTempDir() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetTempPathW(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) return FilePath();
  return FilePath(FromWide(buffer, length));
}

FilePath GetExecutablePath() {
  std::u16string buffer(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, AsWide(buffer.data()),
                                            static_cast<DWORD>(buffer.size()));
    if (length == 0) return FilePath();
    if (length < buffer.size()) {
      buffer.resize(length);
      return FilePath(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace lite
