// Whether User Account Control prompts exist on this machine at all.
#ifndef INSTALLER_ELEVATION_UAC_SETTINGS_WIN_H_
#define INSTALLER_ELEVATION_UAC_SETTINGS_WIN_H_

namespace lite {

// False before Vista and where the "EnableLUA" policy is 0; a missing
// policy value means the Windows default, which is on.
bool AreUacNotificationsEnabled();

}  // namespace lite

#endif  // INSTALLER_ELEVATION_UAC_SETTINGS_WIN_H_
