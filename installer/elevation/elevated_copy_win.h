// What the elevated copy of the installer does: wait until the first
// installer has the archive ready, then run the setup program with the
// rights the first installer lacks, reporting progress to its window.
#ifndef INSTALLER_ELEVATION_ELEVATED_COPY_WIN_H_
#define INSTALLER_ELEVATION_ELEVATED_COPY_WIN_H_

#include <cstdint>
#include <functional>
#include <string>

#include "installer/command_line/installer_command_line.h"
#include "installer/installer_delegate.h"

namespace lite {

// Creates the engine with |delegate| (no brand, no parameters, no background
// tasks) and runs its RunModule; returns ok and the engine's result code.
using ElevatedSetupRunner =
    std::function<bool(InstallerDelegate& delegate, const std::u16string& archive,
                       const InstallerCommandLine& setup_command_line, int32_t* result_code)>;

// The whole life of a process started with "run-as-admin": 0 when setup
// ran and succeeded, -1 when the copy was not released, the archive is
// missing or setup failed.
int ExecuteAsAdmin(const InstallerCommandLine& command_line, const ElevatedSetupRunner& run_setup);

}  // namespace lite

#endif  // INSTALLER_ELEVATION_ELEVATED_COPY_WIN_H_
