// How the archive's way from download to the end of setup ended: the value
// the window gets through InstallerDelegate::OnInstallError (every one but
// kSucceeded is an error to show).
#ifndef INSTALLER_ENGINE_INSTALL_RESULT_H_
#define INSTALLER_ENGINE_INSTALL_RESULT_H_

#include "installer/engine/module_acquisition.h"

namespace lite {

enum class InstallResult : int {
  kSucceeded = 0,
  // No module path, no release, lock, verification or parameter block
  // failure, or setup failed without a failure kind.
  kFailed = 1,
  kDownloadFailed = 2,   // DownloadResult::kFailed
  kCryptoProFailed = 3,  // DownloadResult::kCryptoProFailed
  // The failure kind after a failed run of setup.
  kMachineTypeMismatch = 4,
  kSetupExit7 = 5,
  kSetupExit8 = 6,
  // The elevated copy found another installer instance (its exit code 600).
  kAnotherInstanceRunning = 7,
};

// A failed download's install result: its own number, which is 1
// (kFailed) for a file that could not be created.
constexpr InstallResult InstallResultOf(DownloadResult result) {
  return static_cast<InstallResult>(static_cast<int>(result));
}

}  // namespace lite

#endif  // INSTALLER_ENGINE_INSTALL_RESULT_H_
