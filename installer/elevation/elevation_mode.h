// When the installer restarts itself with administrator rights.
#ifndef INSTALLER_ELEVATION_ELEVATION_MODE_H_
#define INSTALLER_ELEVATION_ELEVATION_MODE_H_

#include "distribution/distrib_params.h"
#include "installer/command_line/installer_command_line.h"

namespace lite {

class BrandInfo;

enum ElevationMode : int {
  // Restart elevated when the user presses Install.
  kElevateOnInstall = 0,
  // Restart elevated as soon as the window opens: there is no welcome screen
  // to press Install on.
  kElevateOnStart = 1,
  // Never restart; the setup program asks for rights when the browser starts.
  kNeverElevate = 2,
};

// |brand| and |params| may be null (no brand, no distribution parameters).
ElevationMode GetElevationMode(const BrandInfo* brand, const DistribParamMap* params,
                               const InstallerCommandLine& command_line);

}  // namespace lite

#endif  // INSTALLER_ELEVATION_ELEVATION_MODE_H_
