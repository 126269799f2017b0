// The engine's way from the downloaded archive to the end of the setup
// program: lock, verify, hand over the parameters, run setup here or in the
// elevated copy.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "base/scoped_handle_win.h"
#include "base/time.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "distribution/brand_info.h"
#include "distribution/distrib_info_params.h"
#include "installer/command_line/switches.h"
#include "installer/elevation/elevated_installer_win.h"
#include "installer/elevation/elevation_handoff_win.h"
#include "installer/elevation/elevation_mode.h"
#include "installer/elevation/uac_settings_win.h"
#include "installer/engine/installer_win.h"
#include "installer/exit_code.h"
#include "installer/installer_delegate.h"
#include "installer/setup/delayed_params_win.h"
#include "installer/setup/setup_command_line.h"
#include "logging/log_message.h"
#include "logging/system_error_win.h"
#include "net/async_install_tasks_win.h"
#include "net/module_file_win.h"
#include "stats/install_report_url.h"

namespace lite {
namespace {

// The archive is unlocked and deleted whatever InstallBrowser returns.
class ScopedArchiveRelease {
 public:
  explicit ScopedArchiveRelease(Installer* engine) : engine_(engine) {}
  ScopedArchiveRelease(const ScopedArchiveRelease&) = delete;
  ScopedArchiveRelease& operator=(const ScopedArchiveRelease&) = delete;
  ~ScopedArchiveRelease() { engine_->ReleaseArchive(); }

 private:
  Installer* engine_;
};

std::u16string Decimal(int64_t value) { return WidenBytes(std::to_string(value)); }

// The stages log as the operation they belong to.
constexpr char kInstallBrowser[] = "InstallBrowser";

}  // namespace

InstallResult InstallResultOf(FailureKind kind) {
  switch (kind) {
    case FailureKind::kMachineTypeMismatch:
      return InstallResult::kMachineTypeMismatch;
    case FailureKind::kSetupExit7:
      return InstallResult::kSetupExit7;
    case FailureKind::kSetupExit8:
      return InstallResult::kSetupExit8;
    case FailureKind::kNone:
      break;
  }
  return InstallResult::kFailed;
}

InstallResult Installer::InstallBrowser() {
  LOG(INFO) << "Install Browser.";
  module_path_ = GetModulePath();
  if (module_path_.empty()) return InstallResult::kFailed;

  std::string permanent_lock_value;
  const bool permanent_lock =
      params_ && params_->GetParam("setup_arc_permanent_lock", &permanent_lock_value) &&
      !permanent_lock_value.empty();

  LOG(INFO) << "Executable path: " << module_path_;
  // GetTempFileNameW left an empty placeholder there.
  DeleteFileW(AsWide(module_path_.value()));
  ScopedArchiveRelease release_archive(this);

  // Durations are wall-clock time; the time stamps handed to setup are
  // interrupt time (Installer::ReleaseInstall).
  const int64_t t0 = WallClockMicros();
  const DownloadResult download = ObtainArchive(permanent_lock);
  if (download != DownloadResult::kSucceeded) return InstallResultOf(download);

  const int64_t t1 = WallClockMicros();
  if (WaitForRelease() != ReleaseWait::kReleased) return InstallResult::kFailed;

  const int64_t t2 = WallClockMicros();
  if (LockAndVerifyArchive(permanent_lock) != ArchiveCheck::kVerified) {
    return InstallResult::kFailed;
  }

  const int64_t t3 = WallClockMicros();
  statistics_.SaveParamsToRegistry();
  const bool elevated = elevated_installer_ != nullptr;
  events_.ReportSetupLaunched(AreUacNotificationsEnabled(), elevated);
  // Before the start: setup may post to the window at once.
  setup_started_.store(true);
  const SetupRun run = elevated ? LaunchInElevatedCopy() : LaunchHere();
  if (run == SetupRun::kNotLaunched) return InstallResult::kFailed;

  CloseArchiveLocks();
  const int64_t t4 = WallClockMicros();
  setup_micros_ = t4 - t3;
  const bool ok = run == SetupRun::kSucceeded;
  SetupExit exit;
  // Setup that ran and failed (exit codes 7 and 8) did start: its exit code
  // was read, and that code is what the event reports.
  exit.started = ok || (!elevated && result_code_ != kExitNoSetupExitCode);
  exit.in_elevated_copy = elevated;
  exit.engine_result = result_code_;
  exit.exit_code = result_code_;
  events_.ReportSetupExited(exit);

  if (ok) {
    elevated_installer_.reset();
    if (command_line_.HasSwitch(switches::kDoNotLaunchBrowser)) {
      // Nothing more to wait for: the browser will not start.
      if (delegate_) {
        delegate_->SetProgress(100);
        delegate_->CloseIfInstallStarted(true);
      }
      delegate_ = nullptr;
    }
    install_micros_ = (t1 - t0) + (t4 - t2);
    return InstallResult::kSucceeded;
  }
  return elevated ? FinishElevatedRun() : InstallResult::kFailed;
}

DownloadResult Installer::ObtainArchive(bool permanent_lock) {
  return GetModule(module_path_, permanent_lock ? &archive_module_file_ : nullptr);
}

Installer::ReleaseWait Installer::WaitForRelease() {
  const HANDLE waits[] = {stop_.event(), release_event_.get()};
  if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
    return ReleaseWait::kReleased;
  }
  PLOG_FROM(ERROR, kInstallBrowser)
      << "Installation after download event isn't in signal state or installation "
         "was stopped early.";
  return ReleaseWait::kStopped;
}

Installer::ArchiveCheck Installer::LockAndVerifyArchive(bool permanent_lock) {
  // Nobody may write the archive between its verification and its start.
  if (permanent_lock) {
    if (!archive_module_file_.ReopenReadOnly()) {
      events_.ReportArchiveLockFailed();
      PLOG_FROM(ERROR, kInstallBrowser) << "Cannot lock file: " << module_path_;
      return ArchiveCheck::kNotLocked;
    }
  } else {
    archive_read_lock_.reset(CreateFileW(AsWide(module_path_.value()),
                                         GENERIC_READ | GENERIC_EXECUTE, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    if (!archive_read_lock_) {
      PLOG_FROM(ERROR, kInstallBrowser) << "Cannot lock file: " << module_path_;
      return ArchiveCheck::kNotLocked;
    }
  }

  if (!VerifyDownloadedModule(module_path_)) {
    PLOG_FROM(ERROR, kInstallBrowser) << "Module verification failed: " << module_path_;
    result_code_ = kExitVerificationFailed;
    events_.ReportVerificationFailed();
    return ArchiveCheck::kUntrusted;
  }
  LOG_FROM(INFO, kInstallBrowser) << "Verification succeeded: " << module_path_;
  return ArchiveCheck::kVerified;
}

Installer::SetupRun Installer::LaunchHere() {
  return RunModule(module_path_.value(), BuildSetupCommandLine(module_path_.value(), true))
             ? SetupRun::kSucceeded
             : SetupRun::kFailed;
}

Installer::SetupRun Installer::LaunchInElevatedCopy() {
  if (!WriteParamsForElevatedCopy()) {
    PLOG_FROM(ERROR, kInstallBrowser) << "Unexpected error in CreateDelayedParamsMapping()";
    return SetupRun::kNotLaunched;
  }
  const bool ok = RunModuleInElevatedProcess();
  // The copy may still be reading the archive (it ends on its own or is
  // terminated when the run was stopped): the lock stays until it is gone.
  elevated_installer_->EnsureProcessFinished();
  return ok ? SetupRun::kSucceeded : SetupRun::kFailed;
}

void Installer::CloseArchiveLocks() {
  archive_read_lock_.reset();
  archive_module_file_.Close();
}

void Installer::ReleaseArchive() {
  CloseArchiveLocks();
  if (!module_path_.empty()) DeleteFileW(AsWide(module_path_.value()));
}

InstallResult Installer::FinishElevatedRun() {
  const FailureKind kind = GetFailureKind();
  InstallResult result = InstallResultOf(kind);
  if (kind == FailureKind::kNone &&
      elevated_installer_->exit_code() == kExitAnotherInstanceRunning) {
    result = InstallResult::kAnotherInstanceRunning;
  }
  elevated_installer_.reset();
  return result;
}

bool Installer::WriteParamsForElevatedCopy() const {
  DelayedParamsValues values;
  values.browser_arc_path = module_path_.value();
  values.clids_file_path = data_files_.clids_path().value();
  values.tolvar_website_icon_file_path = data_files_.website_icon_path().value();
  values.installer_data_path = data_files_.installer_data_path().value();
  if (brand_ && brand_->brand_package_present()) {
    values.brand_package_path = brand_->brand_package_path().value();
  }
  if (brand_ && brand_->partner_package_present()) {
    values.partner_package_path = brand_->partner_package_path().value();
  }
  values.partner_package_override_path = partner_package_override_path_.value();
  values.histogram_download_time = Decimal(DurationSeconds(download_micros_));
  values.histogram_full_time = Decimal(install_start_time_);
  values.send_statistics = send_statistics_;
  values.make_default = make_default_;
  values.install_tlpin = install_pin_;
  // The shared block keeps its values for whatever reads it; the copy takes
  // its own from the handoff, with every file setup gets opened here, with
  // this process's rights.
  if (!WriteDelayedParams(values)) return false;
  const InstallerCommandLine setup_command_line =
      BuildSetupCommandLine(module_path_.value(), true);
  std::vector<std::pair<std::string, FilePath>> files;
  for (const char* name : kHandedFileSwitches) {
    const std::u16string path = setup_command_line.GetSwitchValue(name);
    if (!path.empty()) files.emplace_back(name, FilePath(path));
  }
  return elevated_installer_->handoff().HandOver(values, module_path_, files);
}

InstallerCommandLine Installer::BuildSetupCommandLine(const std::u16string& archive,
                                                      bool with_data_files) const {
  const InstallerCommandLine& process_command_line = command_line_;
  const InstallerDataFiles data_files = DataFiles();
  SetupCommandLineInputs in;
  in.process_command_line = &process_command_line;
  in.archive_path = archive;
  in.with_data_files = with_data_files;
  in.uac_declined = uac_declined_;
  in.progress_window =
      delegate_ ? reinterpret_cast<uintptr_t>(delegate_->GetWindowHandle()) : 0;
  in.make_default = make_default_;
  in.send_statistics = send_statistics_;
  in.install_pin = install_pin_;
  in.ok_button_pressed_time = install_click_time_;
  in.install_start_time = install_start_time_;
  in.interface_availability = interface_availability_;
  in.abt_config_resource_file = data_files.abt_config_path();
  in.installer_data = data_files.installer_data_path();
  in.clids_file = data_files.clids_path();
  in.website_icon_file = data_files.website_icon_path();
  in.override_partner_package = partner_package_override_path_;
  in.browser_present = browser_present_;
  if (brand_) {
    in.brand_name = brand_->brand_name();
    if (brand_->brand_package_present()) in.brand_package = brand_->brand_package_path();
    if (brand_->partner_package_present()) in.partner_package = brand_->partner_package_path();
    in.installer_brand_id = brand_->brand_id();
    in.installer_partner_id = brand_->partner_id();
    in.test_ids = brand_->forced_test_ids();
  }
  if (params_) {
    in.distr_info_file = params_->distrib_info_path();
    params_->GetParam("uts2", &in.uts2);
  }
  in.elevation_mode =
      GetElevationMode(brand_, params_ ? &params_->params() : nullptr, process_command_line);
  if (background_tasks_) in.background_results = background_tasks_->ResultSwitches();
  return ::lite::BuildSetupCommandLine(in);
}

}  // namespace lite
