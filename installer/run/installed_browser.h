// Decisions about an installed browser that need no system calls: whether a
// recorded version is usable and where the application directory lies
// relative to the setup program the installation keeps.
#ifndef INSTALLER_RUN_INSTALLED_BROWSER_H_
#define INSTALLER_RUN_INSTALLED_BROWSER_H_

#include <string_view>

#include "base/file_path.h"

namespace lite {

// One or more dot-separated decimal numbers, each fitting 32 bits:
// "1", "24.1.0.2345". Empty components, signs and blanks are refused.
bool IsDottedVersion(std::u16string_view text);

// The application directory an installation's uninstall string points into:
// the setup program lies in <application>\<version>\Installer. Empty when
// |setup_path| is not absolute, climbs with "..", or leads to a root.
FilePath ApplicationDirFromSetupPath(const FilePath& setup_path);

}  // namespace lite

#endif  // INSTALLER_RUN_INSTALLED_BROWSER_H_
