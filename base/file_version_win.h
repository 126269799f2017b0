// The fixed part of a file's version resource.
#ifndef BASE_FILE_VERSION_WIN_H_
#define BASE_FILE_VERSION_WIN_H_

#include <windows.h>

#include <optional>
#include <string>

#include "base/file_path.h"

namespace lite {

// VS_FIXEDFILEINFO of |path| (GetFileVersionInfoW, VerQueryValueW "\"), or
// nothing when the file has no readable version resource.
std::optional<VS_FIXEDFILEINFO> ReadFixedFileInfo(const FilePath& path);

// "major.minor.build.patch" of the file version, "0.0.0.0" without one.
std::string GetFileVersionText(const FilePath& path);

}  // namespace lite

#endif  // BASE_FILE_VERSION_WIN_H_
