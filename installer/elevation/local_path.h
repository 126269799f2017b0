// Which paths the elevated copy accepts from the shared parameter block,
// which any process that maps the installer file can write.
#ifndef INSTALLER_ELEVATION_LOCAL_PATH_H_
#define INSTALLER_ELEVATION_LOCAL_PATH_H_

#include <string_view>

namespace lite {

// A drive letter, a colon, a separator and names: no UNC or device path
// ("\\server\share", "\\?\", "\\.\"), nothing relative to a current folder
// ("a.exe", "C:a.exe", "\a.exe"), no "." or ".." step, no stream name
// (a second colon) and no control character. Whether the drive itself is
// local is the system's to tell.
bool IsAbsoluteLocalPath(std::u16string_view path);

}  // namespace lite

#endif  // INSTALLER_ELEVATION_LOCAL_PATH_H_
