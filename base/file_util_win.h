#ifndef BASE_FILE_UTIL_WIN_H_
#define BASE_FILE_UTIL_WIN_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/file_path.h"
#include "base/scoped_handle_win.h"

namespace lite {

bool PathExists(const FilePath& path);
bool DirectoryExists(const FilePath& path);
// Creates |dir| and every missing parent; true when it exists afterwards.
bool CreateDirectoryWithParents(const FilePath& dir);
// A new, uniquely named directory under the user's temporary directory.
std::optional<FilePath> CreateUniqueTempDir(const std::u16string& prefix);
// GetTempFileNameW in |dir|: creates an empty file with a unique name.
std::optional<FilePath> CreateTemporaryFileInDir(const FilePath& dir,
                                                 const std::u16string& prefix);
// The whole file, or nullopt when it cannot be read or is larger than
// |max_size| bytes.
std::optional<std::string> ReadFileWithLimit(const FilePath& path, uint64_t max_size);
// Creates or replaces |path| with |data|.
bool WriteWholeFile(const FilePath& path, const std::string& data);
bool DeleteFileIfExists(const FilePath& path);
// Deletes a file or a directory with everything below it. Junctions and
// directory links are never followed.
bool DeletePathRecursively(const FilePath& path);
// Files (not directories) in |dir| matching |pattern| such as "*.dll", not
// recursive; full paths.
std::vector<FilePath> EnumerateFiles(const FilePath& dir, const std::u16string& pattern);
std::optional<uint64_t> GetFileSize(const FilePath& path);
// Opens |path| for appending, creating it when missing; readers and other
// writers may keep it open too, as log files need.
ScopedHandle OpenFileForAppend(const FilePath& path);

// GetTempPathW with a 260-unit buffer; empty when the call fails or the
// path would not fit (0 or 260 and more characters).
FilePath GetUserTempDir();
// GetModuleFileNameW of the running executable.
FilePath GetExecutablePath();

}  // namespace lite

#endif  // BASE_FILE_UTIL_WIN_H_
