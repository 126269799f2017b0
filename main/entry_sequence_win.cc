#include "main/entry_sequence_win.h"

#include <windows.h>

#include <memory>

#include "base/debug_log.h"
#include "base/endpoints.h"
#include "base/file_util_win.h"
#include "crash/crash_handler_win.h"
#include "default_browser/interface_probe_win.h"
#include "installer/command_line/process_command_line.h"
#include "installer/command_line/switches.h"
#include "installer/elevation/elevation_handoff_win.h"
#include "installer/exit_code.h"
#include "installer/run/distribution_configuration_win.h"
#include "installer/run/master_process_id_win.h"
#include "installer/run/preflight_win.h"
#include "installer/run/process_window_win.h"
#include "installer/run/secure_dll_loading_win.h"
#include "installer/run/single_instance_lock_win.h"
#include "installer/run/ui_runtime_win.h"
#include "logging/file_logger_win.h"
#include "logging/system_error_win.h"
#include "stats/user_id_win.h"
#include "main/elevated_copy_run_win.h"
#include "main/interactive_run_win.h"
#include "main/silent_run_win.h"
#include "ui/dialogs/disk_space_dialog_win.h"
#include "ui/layout/device_scale_factor_win.h"

namespace lite {
namespace {

// Every line of the entry sequence names the process entry point.
constexpr char kEntryPoint[] = "wWinMain";
#define ENTRY_LOG(severity) TL_LOG_IMPL(::lite::LOGSEV_##severity, kEntryPoint)

// The elevated copy only reads the user identifier and writes no dump into
// the user's folders: its dumps go into its protected folder once that
// exists. A process that ends at once because the DLL search order could
// not be made safe (or a protected copy did the work) loads no dbghelp.dll.
CrashHandlerSettings CrashSettings(const InstallerCommandLine& command_line,
                                   SecureDllResult secure) {
  const bool elevated_copy = command_line.HasSwitch(switches::kRunAsAdmin);
  CrashHandlerSettings settings;
  settings.user_id =
      GetUserId(elevated_copy ? UserIdLookup::kReadOnly : UserIdLookup::kCreateWhenMissing);
  if (!elevated_copy) settings.temp_dir = GetUserTempDir();
  settings.version = TL_VERSION_STRING;
  settings.upload_host = std::string(endpoints::kCrashReport);
  settings.capture_crashes = secure != SecureDllResult::kDllFilesFound &&
                             secure != SecureDllResult::kDelegated &&
                             secure != SecureDllResult::kInsecure;
  return settings;
}

// The installation path proper: everything after the lock was taken. Runs
// with the UI runtime started; returns the exit code.
int RunInstallation(const InstallerCommandLine& command_line,
                    const EntryEnvironment& environment) {
  const bool silent = command_line.HasSwitch(switches::kSilent);
  const bool system_level = command_line.HasSwitch(switches::kSystemLevel);
  const std::string brand_name = command_line.GetSwitchValueASCII(switches::kBrandName);

  const FilePath temp_dir = GetUserTempDir();
  ENTRY_LOG(INFO) << "Temporary path is: " << temp_dir;

  const std::unique_ptr<DistributionConfiguration> config =
      LoadDistributionConfiguration(command_line, temp_dir, brand_name);
  const uint32_t language_id = config->brand.language_id();

  int message_id = 0;
  if (!IsProcessorSupported(&message_id)) {
    PLOG_FROM(ERROR, kEntryPoint) << "CPU is not supported";
    if (!silent) ShowProcessorMessage(static_cast<uint16_t>(language_id), message_id);
    return kExitProcessorNotSupported;
  }

  const bool enough_disk_space =
      environment.has_enough_disk_space(system_level, kRequiredDiskSpace);
  const double scale_factor = ComputeDeviceScaleFactor(
      command_line.GetSwitchValueASCII(switches::kForceDeviceScaleFactor));

  int exit_code;
  if (silent) {
    ENTRY_LOG(INFO) << "Installing in silent mode.";
    exit_code = RunSilentInstallation(command_line, *config, scale_factor);
  } else if (enough_disk_space) {
    int engine_result = kExitNoSetupExitCode;
    if (RunInstallerWindow(command_line, *config, scale_factor, &engine_result) == 1) {
      exit_code = engine_result;
    } else {
      ENTRY_LOG(INFO) << "User cancelled installation.";
      exit_code = kExitWindowCancelled;
    }
  } else {
    ShowNotEnoughDiskSpaceDialog(static_cast<uint16_t>(language_id), scale_factor);
    exit_code = kExitNotEnoughDiskSpace;
  }
  ENTRY_LOG(INFO) << "Installer exit with code: " << exit_code;
  return exit_code;
}

}  // namespace

int RunEntrySequence(const EntryEnvironment& environment) {
  int secure_exit_code = 0;
  const SecureDllResult secure = SecureDllLoading(&secure_exit_code);

  const InstallerCommandLine& command_line = ProcessCommandLine();
  const bool elevated_copy = command_line.HasSwitch(switches::kRunAsAdmin);
  // Nothing beside the executable, which may lie in a folder the user can
  // write, is touched with the copy's rights.
  if (elevated_copy) DisableDebugLog();
  // Removed last, when the sequence returns.
  CrashHandler crash_handler(CrashSettings(command_line, secure));
  SetCrashKey("ptype", "installer");

  // The elevated copy has rights the owner of the user's folders lacks: it
  // writes the log only through the handle the first installer opened.
  if (elevated_copy) {
    SetGlobalLogger(CreateElevatedCopyLogger(command_line));
  } else {
    SetGlobalLogger(std::make_unique<FileLogger>(GetInstallerLogPath(), kInstallerLogMaxSize));
  }
  ENTRY_LOG(INFO) << "-------------------------------------- Start install.";

  if (command_line.HasSwitch(switches::kCheckTheInterface)) {
    const int code = win10_default_browser::CheckInternalInterfaceInProcess()
                         ? kExitInterfaceAvailable
                         : kExitInterfaceNotAvailable;
    ENTRY_LOG(INFO) << "Handled non install cmd line option by win10 default browser helper, "
                 "ret code: "
              << code;
    return code;
  }

  switch (secure) {
    case SecureDllResult::kInsecure:
      ENTRY_LOG(INFO) << "Exiting, because of insecure environment.";
      return secure_exit_code;
    case SecureDllResult::kNotSecured:
      ENTRY_LOG(INFO) << "Can't find secure environment.";
      break;
    case SecureDllResult::kSecured:
      ENTRY_LOG(INFO) << "Runned in secure environment.";
      break;
    case SecureDllResult::kDllFilesFound:
      ENTRY_LOG(INFO) << "Exiting, DLL files found in working directory";
      return kExitDllFilesFound;
    case SecureDllResult::kDelegated:
      return secure_exit_code;
  }

  if (elevated_copy) return RunElevatedCopy(command_line);

  ScopedUiRuntime ui_runtime;
  ENTRY_LOG(INFO) << "Lite installer mode.";

  SingleInstanceLock lock;
  if (!lock.TryLock()) {
    const uint32_t master = GetMasterProcessId();
    ENTRY_LOG(INFO) << "Another installer instance is already running.";
    ENTRY_LOG(INFO) << "Master installer process id: " << master;
    BringProcessWindowToTop(master);
    return kExitAnotherInstanceRunning;
  }
  SetMasterProcessId(GetCurrentProcessId());
  ENTRY_LOG(INFO) << "Installer process id: " << GetCurrentProcessId();

  return RunInstallation(command_line, environment);
}

}  // namespace lite
