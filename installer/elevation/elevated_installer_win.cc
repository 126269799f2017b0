#include "installer/elevation/elevated_installer_win.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "base/wide_string_win.h"
#include "installer/command_line/switches.h"
#include "installer/elevation/prompt_owner_window_win.h"
#include "logging/system_error_win.h"

namespace lite {
namespace {

// The shipping 32-bit build passes the structure size Windows documents.
static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOW) == 60);

}  // namespace

ElevatedInstaller::ElevatedInstaller(DWORD finish_timeout_ms)
    : finish_timeout_ms_(finish_timeout_ms) {}

void ElevatedInstaller::SetProcess(HANDLE process, HWND owner_window) {
  process_.reset(process);
  owner_window_.reset(owner_window);
}

ElevatedInstaller::~ElevatedInstaller() {
  if (!process_) return;
  if (!started_) SetEvent(handoff_.abort_event());
  EnsureProcessFinished();
}

bool ElevatedInstaller::RunModule(HANDLE stop_event) {
  started_ = true;
  SetEvent(handoff_.start_event());
  const HANDLE handles[] = {stop_event, process_.get()};
  DWORD waited = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
  // The window stops the engine also when setup, done in the copy, has just
  // asked it to close: the copy is then about to exit with its result, which
  // must not be reported as a failure. A copy still busy after the grace
  // time counts as stopped.
  if (waited == WAIT_OBJECT_0 &&
      WaitForSingleObject(process_.get(), std::min(kStopGraceMs, finish_timeout_ms_)) ==
          WAIT_OBJECT_0) {
    waited = WAIT_OBJECT_0 + 1;
  }
  switch (waited) {
    case WAIT_OBJECT_0 + 1: {
      DWORD code = 0;
      if (GetExitCodeProcess(process_.get(), &code)) {
        exit_code_ = static_cast<int32_t>(code);
      } else {
        PLOG(ERROR) << "Failed to get exit code of the elevated installer.";
      }
      // Whatever another process may have written into the shared block,
      // the copy's own answer counts.
      SetFailureKind(handoff_.failure_kind());
      return exit_code_ == 0;
    }
    case WAIT_OBJECT_0:
      PLOG(ERROR) << "The elevated installer was terminated due to stop event.";
      return false;
    default:
      PLOG(ERROR) << "Failed to wait for the elevated installer.";
      return false;
  }
}

void ElevatedInstaller::EnsureProcessFinished() {
  if (WaitForSingleObject(process_.get(), finish_timeout_ms_) != WAIT_TIMEOUT) return;
  terminated_ = true;
  PLOG(ERROR) << "The elevated installer hangs and must be forcibly terminated.";
  if (!TerminateProcess(process_.get(), 0)) PLOG(ERROR) << "Cannot terminate the elevated installer.";
}

std::unique_ptr<ElevatedInstaller> StartElevatedCopy(
    const InstallerCommandLine& process_command_line,
    const std::u16string& setup_command_line_text, bool* access_denied) {
  *access_denied = false;
  InstallerCommandLine copy = process_command_line;
  copy.AppendSwitch(switches::kRunAsAdmin);
  copy.AppendSwitchASCII(switches::kParentInstallerProcessId,
                         std::to_string(GetCurrentProcessId()));
  copy.AppendSwitchValue(switches::kSetupCmdLine, setup_command_line_text);
  ScopedWindow owner_window = CreatePromptOwnerWindow();
  auto installer = std::make_unique<ElevatedInstaller>();
  copy.AppendSwitchASCII(kElevationHandoffSwitch, installer->handoff().SwitchValue());
  const std::u16string file = copy.GetProgram();
  const std::u16string parameters = copy.RenderSwitches();

  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = owner_window.get();
  info.lpVerb = L"runas";
  info.lpFile = AsWide(file);
  info.lpParameters = AsWide(parameters);
  info.lpDirectory = nullptr;
  info.nShow = SW_SHOW;
  if (!ShellExecuteExW(&info)) {
    PLOG(ERROR) << "Cannot start the installer as admin";
    *access_denied = info.hInstApp == reinterpret_cast<HINSTANCE>(SE_ERR_ACCESSDENIED);
    return nullptr;
  }
  installer->SetProcess(info.hProcess, owner_window.release());
  return installer;
}

}  // namespace lite
