// The first installer's hold on its elevated copy: the copy waits on the
// start event until the archive is ready, or on the abort event when the
// installation ends without it. Both events, the parameters and the files
// reach the copy through the handoff (elevation_handoff_win.h).
#ifndef INSTALLER_ELEVATION_ELEVATED_INSTALLER_WIN_H_
#define INSTALLER_ELEVATION_ELEVATED_INSTALLER_WIN_H_

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "base/scoped_handle_win.h"
#include "base/scoped_window_win.h"
#include "installer/command_line/installer_command_line.h"
#include "installer/elevation/elevation_handoff_win.h"

namespace lite {

class ElevatedInstaller {
 public:
  static constexpr DWORD kFinishTimeoutMs = 30000;
  // How long a stopped wait still gives the copy to exit on its own.
  static constexpr DWORD kStopGraceMs = 5000;

  // Creates the handoff. |finish_timeout_ms| is how long destruction waits
  // for the copy before terminating it.
  explicit ElevatedInstaller(DWORD finish_timeout_ms = kFinishTimeoutMs);
  ElevatedInstaller(const ElevatedInstaller&) = delete;
  ElevatedInstaller& operator=(const ElevatedInstaller&) = delete;

  // Takes ownership of both.
  virtual void SetProcess(HANDLE process, HWND owner_window);
  // Ends a copy that was never started through the abort event and one
  // that hangs through termination.
  virtual ~ElevatedInstaller();
  // Lets the copy run setup and waits for it or for |stop_event|; true when
  // the copy ended with exit code 0. The copy's failure kind becomes this
  // process's.
  virtual bool RunModule(HANDLE stop_event);
  // Waits for the copy, terminating it when it does not end in time.
  virtual void EnsureProcessFinished();

  // What the copy is to get once released; see ElevationHandoff.
  ElevationHandoff& handoff() { return handoff_; }

  // The copy's exit code, -1 until it is read.
  int32_t exit_code() const { return exit_code_; }
  bool started() const { return started_; }
  bool terminated() const { return terminated_; }

 private:
  ScopedHandle process_;
  ScopedWindow owner_window_;
  ElevationHandoff handoff_;
  bool started_ = false;
  bool terminated_ = false;
  int32_t exit_code_ = -1;
  const DWORD finish_timeout_ms_;
};

// Starts this executable again through the "runas" verb with
// |process_command_line| + "run-as-admin" + "parent-installer-process-id" +
// "setup-cmd-line" = |setup_command_line_text| + "elevation-handoff", the
// UAC prompt owned by a
// centred topmost window. Null on failure; *access_denied then tells whether
// the user refused the prompt.
std::unique_ptr<ElevatedInstaller> StartElevatedCopy(
    const InstallerCommandLine& process_command_line,
    const std::u16string& setup_command_line_text, bool* access_denied);

}  // namespace lite

#endif  // INSTALLER_ELEVATION_ELEVATED_INSTALLER_WIN_H_
