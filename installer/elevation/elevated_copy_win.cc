#include "installer/elevation/elevated_copy_win.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "base/decimal_text.h"
#include "base/file_util_win.h"
#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
#include "installer/command_line/process_command_line.h"
#include "installer/command_line/switches.h"
#include "installer/elevation/elevation_handoff_win.h"
#include "installer/elevation/local_path.h"
#include "installer/elevation/process_window_delegate_win.h"
#include "installer/elevation/protected_folder_win.h"
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
  for (const char* data_file : kHandedFileSwitches) {
    const std::u16string path = setup_command_line.GetSwitchValue(data_file);
    if (!path.empty() && !IsAcceptablePath(path)) {
      LOG_FROM(ERROR, kFunction) << "Data file " << data_file << "=" << path
                                 << " is not an absolute local path";
      return false;
    }
  }
  return true;
}

// Every file switch of |setup_command_line| comes to name the protected
// copy of the file the first installer handed over under that switch; one
// that was not handed over, or is empty where setup wants content, goes.
// False when a handed file cannot be copied.
bool PointFilesIntoFolder(const ReceivedHandoff& handoff, ProtectedFolder* folder,
                          InstallerCommandLine* setup_command_line) {
  for (const char* name : kHandedFileSwitches) {
    const std::u16string path = setup_command_line->GetSwitchValue(name);
    if (path.empty()) continue;
    const ScopedHandle source = handoff.TakeFile(name);
    if (!source) {
      LOG_FROM(WARNING, kFunction) << "Data file " << name << "=" << path
                                   << " was not handed over";
      setup_command_line->RemoveSwitch(name);
      continue;
    }
    const ProtectedFolder::File* copy =
        folder->AddCopy(source.get(), FilePath(path).BaseName(), GENERIC_READ);
    if (!copy) return false;
    if (copy->size == 0 && std::string_view(name) == switches::kTolvarWebsiteIconFile) {
      setup_command_line->RemoveSwitch(name);
      continue;
    }
    setup_command_line->AppendSwitchValue(name, copy->path.value());
  }
  return true;
}

}  // namespace

int ExecuteAsAdmin(const InstallerCommandLine& command_line, const ElevatedSetupRunner& run_setup) {
  const std::u16string setup_text = command_line.GetSwitchValue(switches::kSetupCmdLine);
  ReadParentProcessId(command_line);
  const ScopedHandle parent = OpenFirstInstaller(command_line);
  LOG_FROM(INFO, kFunction) << "Start installer as admin";
  InstallerCommandLine setup_command_line = CommandLineFromString(setup_text);

  // Objects only the first installer holds: nobody else can signal them
  // first or write what they carry. A handle that could not be taken makes
  // the wait fail at once.
  const ReceivedHandoff handoff(parent.get(),
                                command_line.GetSwitchValueASCII(kElevationHandoffSwitch));
  const HANDLE handles[] = {handoff.start_event(), handoff.abort_event(), parent.get()};
  const DWORD wait_result = WaitForMultipleObjects(3, handles, FALSE, INFINITE);
  if (wait_result != WAIT_OBJECT_0 || !handoff.block()) {
    PLOG_FROM(ERROR, kFunction) << "Installer started as admin has been unexpectedly synced, wr="
                                << wait_result;
    return kExitElevatedCopyFailed;
  }

  ReadDelayedParams(handoff.block()->params, &setup_command_line);
  const std::u16string archive = setup_command_line.GetProgram();
  if (!AreHandedOverPathsLocal(archive, setup_command_line)) return kExitElevatedCopyFailed;
  const ScopedHandle handed_archive = handoff.TakeFile(kHandedArchive);
  if (!handed_archive) {
    PLOG_FROM(ERROR, kFunction) << "Browser archive " << archive << " does not exist";
    return kExitElevatedCopyFailed;
  }

  // From here on only the copies in the protected folder are used: the
  // archive verified through the handle that keeps it from changing, and
  // launched while that handle is open.
  const std::unique_ptr<ProtectedFolder> folder = ProtectedFolder::Create(GetSystemTempDir());
  if (!folder) return kExitElevatedCopyFailed;
  const ProtectedFolder::File* copy = folder->AddCopy(
      handed_archive.get(), FilePath(archive).BaseName(), GENERIC_READ | GENERIC_EXECUTE);
  if (!copy) return kExitElevatedCopyFailed;
  if (!VerifyDownloadedModuleFile(copy->path, copy->handle.get())) {
    PLOG_FROM(ERROR, kFunction) << "Module verification failed: " << copy->path;
    return kExitElevatedCopyFailed;
  }
  setup_command_line.SetProgram(copy->path.value());
  if (!PointFilesIntoFolder(handoff, folder.get(), &setup_command_line)) {
    return kExitElevatedCopyFailed;
  }

  ProcessWindowDelegate delegate(ReadProgressWindow(setup_command_line));
  int32_t result_code = kExitNoSetupExitCode;
  const bool ok = run_setup(delegate, copy->path.value(), setup_command_line, &result_code);
  // The first installer reads the answer from the handed block, which no
  // other process can write.
  SetFailureKind(&handoff.block()->params, GetOwnFailureKind());
  LOG_FROM(INFO, kFunction) << "RunModule results: success=" << ok
                            << " error_code=" << result_code;
  return ok ? kExitElevatedSetupSucceeded : kExitElevatedCopyFailed;
}

}  // namespace lite
