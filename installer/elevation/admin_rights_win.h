// Whether this process should restart itself with administrator rights.
#ifndef INSTALLER_ELEVATION_ADMIN_RIGHTS_WIN_H_
#define INSTALLER_ELEVATION_ADMIN_RIGHTS_WIN_H_

#include <windows.h>

#include "installer/command_line/installer_command_line.h"

namespace lite {

// True when the token of |process| lists the Administrators group, whatever
// the group's attributes: a UAC-filtered administrator, whose group is
// deny-only until elevation, counts.
bool IsUserAnAdminGroup(HANDLE process);

// True when |process| runs with an elevated token; false for a filtered
// or standard token, before Windows Vista (which has no elevation) and
// when the token cannot be read.
bool IsProcessElevated(HANDLE process);

// True when the user can become an administrator through the UAC prompt and
// nothing on |command_line| speaks against the restart; every "no" is logged.
bool NeedStartThisProcessAsAdmin(const InstallerCommandLine& command_line);

}  // namespace lite

#endif  // INSTALLER_ELEVATION_ADMIN_RIGHTS_WIN_H_
