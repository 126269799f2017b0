// Which Tolvar Browser installation this machine already has, as the
// browser's setup program records it under "Software\Tolvar\TolvarBrowser"
// (32-bit view) in HKEY_CURRENT_USER for a user-level installation and in
// HKEY_LOCAL_MACHINE for a system-level one. A value that cannot be read
// counts as no installation, or as not corporate.
#ifndef INSTALLER_RUN_INSTALLED_BROWSER_WIN_H_
#define INSTALLER_RUN_INSTALLED_BROWSER_WIN_H_

#include "base/file_path.h"

namespace lite {

inline constexpr char16_t kInstalledBrowserKey[] = u"Software\\Tolvar\\TolvarBrowser";

enum class InstallLevel { kUser, kSystem };

// The application directory of the installation at |level|: recorded with a
// valid version ("tpv", else "pv") and an uninstall string inside an existing
// directory. Empty when there is none.
FilePath GetExistingInstallDir(InstallLevel level);

// The system-level key says "corporate" = "true", exactly.
bool IsCorporateInstall();

// An installation exists (user level first, then system level) and it is
// not the corporate edition.
bool HasOrdinaryBrowser();

// A system-level installation exists and it is the corporate edition.
bool GetBrowserPresentKind();

// What setup is told through "browser-present": "corporate" when
// GetBrowserPresentKind, else "user" when HasOrdinaryBrowser, else "none".
const char* GetBrowserPresentText();

// Where the browser is started from: the system-level installation when
// there is one, else <local application data>\Tolvar\TolvarBrowser\Application.
// Empty when the local application data folder cannot be found.
FilePath GetBrowserApplicationDir();

}  // namespace lite

#endif  // INSTALLER_RUN_INSTALLED_BROWSER_WIN_H_
