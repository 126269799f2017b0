// How the installation engine reports to whoever shows the installation:
// the installer window, or the elevated copy passing progress to the first
// installer's window. All calls come from the engine's worker thread.
#ifndef INSTALLER_INSTALLER_DELEGATE_H_
#define INSTALLER_INSTALLER_DELEGATE_H_

#include <windows.h>

#include <cstdint>

namespace lite {

class InstallerDelegate {
 public:
  virtual ~InstallerDelegate() = default;
  virtual void OnDownloadProgress(float fraction) = 0;
  virtual void OnSlowDownload() = 0;
  // |state|: 0 starting, 1 estimate, 2 finished.
  virtual void OnTimeRemaining(int seconds, int state) = 0;
  virtual void CloseIfInstallStarted(bool install_started) = 0;
  // |install_result| 1 to 7.
  virtual void OnInstallError(int install_result) = 0;
  virtual HWND GetWindowHandle() = 0;
  virtual void SetProgress(int percent) = 0;
  virtual void RemoveCancelButton() = 0;
};

}  // namespace lite

#endif  // INSTALLER_INSTALLER_DELEGATE_H_
