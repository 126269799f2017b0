#include "installer/elevation/elevated_copy_win.h"

#include <windows.h>

#include <memory>
#include <string>

#include "base/decimal_text.h"
#include "base/file_util_win.h"
#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
#include "installer/command_line/process_command_line.h"
#include "installer/command_line/switches.h"
#include "installer/elevation/elevated_installer_win.h"
#include "installer/elevation/local_path.h"
#include "installer/elevation/process_window_delegate_win.h"
#include "installer/elevation/protected_archive_copy_win.h"
#include "installer/exit_code.h"
#include "installer/setup/delayed_params_win.h"
#include "installer/setup/setup_switches.h"
#include "logging/system_error_win.h"
#include "trust/module_trust_win.h"

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

// The copy runs with rights the block's writer may lack: every path from
// the block names a file on a local drive, never a share, a device or a
// place relative to wherever the copy happens to be.
bool IsAcceptablePath(const std::u16string& path) {
  if (!IsAbsoluteLocalPath(path)) return false;
  const std::u16string root = path.substr(0, 3);
  switch (GetDriveTypeW(AsWide(root))) {
    case DRIVE_FIXED:
    case DRIVE_REMOVABLE:
    case DRIVE_RAMDISK:
      return true;
    default:
      return false;
  }
}

bool AreHandedOverPathsLocal(const std::u16string& archive,
                             const InstallerCommandLine& setup_command_line) {
  if (!IsAcceptablePath(archive)) {
    LOG_FROM(ERROR, kFunction) << "Browser archive " << archive
                               << " is not an absolute local path";
    return false;
  }
  for (const char* data_file :
       {switches::kInstallerData, switches::kClidsFile, switches::kTolvarWebsiteIconFile,
        setup_switches::kBrandPackage, setup_switches::kPartnerPackage,
        setup_switches::kOverridePartnerPackage}) {
    const std::u16string path = setup_command_line.GetSwitchValue(data_file);
    if (!path.empty() && !IsAcceptablePath(path)) {
      LOG_FROM(ERROR, kFunction) << "Data file " << data_file << "=" << path
                                 << " is not an absolute local path";
      return false;
    }
  }
  return true;
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
  if (!AreHandedOverPathsLocal(archive, setup_command_line)) return kExitElevatedCopyFailed;
  if (!PathExists(FilePath(archive))) {
    PLOG_FROM(ERROR, kFunction) << "Browser archive " << archive << " does not exist";
    return kExitElevatedCopyFailed;
  }

  // From here on only the copy in the protected folder is used: verified
  // through the handle that keeps it from changing, and launched while
  // that handle is open.
  const std::unique_ptr<ProtectedArchiveCopy> copy =
      ProtectedArchiveCopy::Create(FilePath(archive), GetSystemTempDir());
  if (!copy) return kExitElevatedCopyFailed;
  if (!VerifyDownloadedModuleFile(copy->path(), copy->file())) {
    PLOG_FROM(ERROR, kFunction) << "Module verification failed: " << copy->path();
    return kExitElevatedCopyFailed;
  }
  setup_command_line.SetProgram(copy->path().value());

  ProcessWindowDelegate delegate(ReadProgressWindow(setup_command_line));
  int32_t result_code = kExitNoSetupExitCode;
  const bool ok = run_setup(delegate, copy->path().value(), setup_command_line, &result_code);
  LOG_FROM(INFO, kFunction) << "RunModule results: success=" << ok
                            << " error_code=" << result_code;
  return ok ? kExitElevatedSetupSucceeded : kExitElevatedCopyFailed;
}

}  // namespace lite
