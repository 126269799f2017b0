// The elevated copy's delegate: it passes the setup program's start on to
// the first installer's window, which shows the installation.
#ifndef INSTALLER_ELEVATION_PROCESS_WINDOW_DELEGATE_WIN_H_
#define INSTALLER_ELEVATION_PROCESS_WINDOW_DELEGATE_WIN_H_

#include <windows.h>

#include "installer/installer_delegate.h"

namespace lite {

// The window's progress message: wParam is the percentage.
inline constexpr UINT kSetProgressMessage = WM_APP + 100;
// The window's Cancel button.
inline constexpr int kCancelButtonId = 212;

class ProcessWindowDelegate : public InstallerDelegate {
 public:
  // |window| belongs to another process; it is not owned.
  explicit ProcessWindowDelegate(HWND window) : window_(window) {}

  // The elevated copy only launches setup: these write a programming-error
  // line to the diagnostics file and do nothing else.
  void OnDownloadProgress(float fraction) override;
  void OnSlowDownload() override;
  void OnTimeRemaining(int seconds, int state) override;
  void CloseIfInstallStarted(bool install_started) override;
  void OnInstallError(int install_result) override;

  HWND GetWindowHandle() override { return window_; }
  void SetProgress(int percent) override;
  void RemoveCancelButton() override;

 private:
  const HWND window_;
};

}  // namespace lite

#endif  // INSTALLER_ELEVATION_PROCESS_WINDOW_DELEGATE_WIN_H_
