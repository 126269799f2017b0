#include "installer/elevation/elevated_copy_win.h"

#include <windows.h>

#include <string>

#include "base/decimal_text.h"
#include "base/file_util_win.h"
#include "base/scoped_handle_win.h"
#include "installer/command_line/process_command_line.h"
#include "installer/command_line/switches.h"
#include "installer/elevation/elevated_installer_win.h"
#include "installer/elevation/process_window_delegate_win.h"
#include "installer/exit_code.h"
#include "installer/setup/delayed_params_win.h"
#include "installer/setup/setup_switches.h"
#include "logging/system_error_win.h"

namespace lite {
namespace {

constexpr char kFunction[] = "ExecuteAsAdmin";

DWORD ReadParentProcessId(const InstallerCommandLine& command_line) {
  const std::string text = command_line.GetSwitchValueASCII(switches::kParentInstallerProcessId);
  int32_t id = 0;
  if (!ParseDecimal(text, &id)) {
    PLOG_FROM(ERROR, kFunction) << "Suspicious process id=" << text;
  }
  return static_cast<DWORD>(id);
}

HWND ReadProgressWindow(const InstallerCommandLine& setup_command_line) {
  uintptr_t handle = 0;
  ParseDecimal(setup_command_line.GetSwitchValueASCII(setup_switches::kProgressWindow), &handle);
  return reinterpret_cast<HWND>(handle);
}

}  // namespace

int ExecuteAsAdmin(const InstallerCommandLine& command_line, const ElevatedSetupRunner& run_setup) {
  const std::u16string setup_text = command_line.GetSwitchValue(switches::kSetupCmdLine);
  const DWORD parent_id = ReadParentProcessId(command_line);
  const ScopedHandle parent(OpenProcess(SYNCHRONIZE, TRUE, parent_id));
  LOG_FROM(INFO, kFunction) << "Start installer as admin";
  InstallerCommandLine setup_command_line = CommandLineFromString(setup_text);

  // A handle that could not be opened makes the wait fail at once.
  const ScopedHandle start_event(OpenEventA(SYNCHRONIZE, FALSE, kElevatedStartEventName));
  const ScopedHandle abort_event(OpenEventA(SYNCHRONIZE, FALSE, kElevatedAbortEventName));
  const HANDLE handles[] = {start_event.get(), abort_event.get(), parent.get()};
  const DWORD wait_result = WaitForMultipleObjects(3, handles, FALSE, INFINITE);
  if (wait_result != WAIT_OBJECT_0) {
    PLOG_FROM(ERROR, kFunction) << "Installer started as admin has been unexpectedly synced, wr="
                                << wait_result;
    return kExitElevatedCopyFailed;
  }

  ReadDelayedParams(&setup_command_line);
  const std::u16string archive = setup_command_line.GetProgram();
  if (archive.empty() || !PathExists(FilePath(archive))) {
    PLOG_FROM(ERROR, kFunction) << "Browser archive " << archive << " does not exist";
    return kExitElevatedCopyFailed;
  }

  ProcessWindowDelegate delegate(ReadProgressWindow(setup_command_line));
  int32_t result_code = kExitNoSetupExitCode;
  const bool ok = run_setup(delegate, archive, setup_command_line, &result_code);
  LOG_FROM(INFO, kFunction) << "RunModule results: success=" << ok
                            << " error_code=" << result_code;
  return ok ? kExitElevatedSetupSucceeded : kExitElevatedCopyFailed;
}

}  // namespace lite
