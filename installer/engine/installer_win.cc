#include "installer/engine/installer_win.h"

#include <string>

#include "base/file_util_win.h"
#include "base/guid.h"
#include "base/string_join.h"
#include "base/time.h"
#include "base/utf.h"
#include "base/waitable_event_win.h"
#include "base/wide_string_win.h"
#include "base/windows_version_win.h"
#include "distribution/brand_info.h"
#include "distribution/distrib_info_params.h"
#include "distribution/installer_data_files_win.h"
#include "installer/command_line/switches.h"
#include "installer/elevation/elevated_installer_win.h"
#include "installer/engine/installation_report_win.h"
#include "installer/engine/module_acquisition_win.h"
#include "installer/exit_code.h"
#include "installer/installer_delegate.h"
#include "installer/setup/delayed_params_win.h"
#include "installer/setup/setup_process_win.h"
#include "logging/log_message.h"
#include "net/async_install_tasks_win.h"
#include "net/download_attempt_win.h"
#include "stats/setup_registry_win.h"
#include "stats/user_id_win.h"
#include "trust/module_trust_win.h"

namespace lite {

namespace {

BrandSetupUrls SetupUrlsOf(const BrandInfo* brand) {
  if (!brand) return {};
  return {brand->setup_url(), brand->setup_url_version(), brand->setup_url64()};
}

// The elevated copy works with rights its user lacks: it reads the user
// identifier but creates no file in the user's folders.
UserIdLookup UserIdLookupFor(const InstallerCommandLine& command_line) {
  return command_line.HasSwitch(switches::kRunAsAdmin) ? UserIdLookup::kReadOnly
                                                       : UserIdLookup::kCreateWhenMissing;
}

std::u16string NewInstallationId() {
  const std::optional<Guid> guid = CreateGuid();
  return guid ? WidenBytes(StripGuidBraces(GuidToString(*guid))) : std::u16string();
}

}  // namespace

Installer::Installer(InstallerCommandLine command_line, InstallerDelegate* delegate,
                     const BrandInfo* brand, const DistribInfoParams* params,
                     bool with_background_tasks)
    : command_line_(std::move(command_line)),
      statistics_(0, ReadSetupValue(u"install_stat").value_or(u""), nullptr,
                  UserIdLookupFor(command_line_)),
      delegate_(delegate),
      brand_(brand),
      params_(params),
      working_dir_(brand ? brand->working_dir() : FilePath()),
      data_files_(command_line_.GetSwitchValue(switches::kInstallerData),
                  command_line_.GetSwitchValue(switches::kClidsFile),
                  command_line_.GetSwitchValue(switches::kTolvarWebsiteIconFile),
                  command_line_.GetSwitchValue(switches::kAbtConfigResourceFile)),
      result_code_(kExitNoSetupExitCode),
      events_(statistics_, {cancel_count_, download_micros_, setup_micros_, install_micros_,
                            installation_id_}),
      download_reporter_(statistics_, events_, params, &download_micros_) {
  if (with_background_tasks && brand && params) {
    background_tasks_ = std::make_unique<AsyncInstallTasks>(*brand, *params);
  }
  Initialize(brand, params);
  acquisition_environment_ =
      std::make_unique<WinAcquisitionEnvironment>(&stop_, delegate_);
}

Installer::~Installer() {
  if (install_thread_.handle()) {
    stop_.Request();
    if (!install_thread_.Join(kInstallThreadExitTimeoutMs)) {
      LOG_FROM(ERROR, "~Installer")
          << "Failed to wait for install async exit. Terminate install_thread_";
      install_thread_.Terminate(0);
    }
  }
  // The copy first: the archive stays locked until it has ended.
  elevated_installer_.reset();
  ReleaseArchive();
  background_tasks_.reset();
}

void Installer::Initialize(const BrandInfo* brand, const DistribInfoParams* params) {
  if (brand) {
    statistics_.SetParam(StatParam::kBrandId, brand->brand_id());
    statistics_.SetParam(StatParam::kPartnerId, brand->partner_id());
    statistics_.SetParam(StatParam::kTestIds, JoinStrings(brand->forced_test_ids(), "%3B"));
  } else {
    statistics_.SetParam(StatParam::kBrandId, "unknown");
    statistics_.SetParam(StatParam::kPartnerId, "unknown");
    statistics_.SetParam(StatParam::kTestIds, "");
  }
  if (params) {
    struct Passed {
      const char* name;
      StatParam param;
    };
    static constexpr Passed kPassed[] = {{"banerid", StatParam::kBannerId},
                                         {"tolvaruid", StatParam::kTolvarUid},
                                         {"distr_tolvaruid", StatParam::kDistrTolvarUid}};
    for (const Passed& passed : kPassed) {
      std::string value;
      if (params->GetParam(passed.name, &value)) statistics_.SetParam(passed.param, value);
    }
  }
  release_event_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  user_id_ = GetUserId(UserIdLookupFor(command_line_));
}

void Installer::InstallAsync() {
  stop_.Reset();
  ResetEvent(release_event_.get());
  install_thread_.Start([this] { Install(); });
}

void Installer::InstallSync() {
  stop_.Reset();
  install_start_time_ = UnbiasedInterruptTimeMicros();
  SetEvent(release_event_.get());
  Install();
}

void Installer::ReleaseInstall() {
  install_start_time_ = UnbiasedInterruptTimeMicros();
  SetEvent(release_event_.get());
}

void Installer::RecordInstallClickTime() { install_click_time_ = UnbiasedInterruptTimeMicros(); }

bool Installer::WaitForInstallAsync() {
  if (!install_thread_.handle()) return true;
  stop_.Request();
  return install_thread_.Join(kInstallThreadExitTimeoutMs);
}

void Installer::SetMakeBrowserDefault(bool make_default) {
  // Windows 8 lets no program choose the default browser for the user.
  if (GetWindowsVersion().IsWin8Or81()) return;
  make_default_ = make_default;
}

void Installer::SetBrowserPresent(const std::string& value) {
  browser_present_ = value;
  statistics_.SetParam(StatParam::kBrowserPresent, value);
}

bool Installer::CheckInterfaceAvailability(const std::function<bool(uint32_t* status)>& probe) {
  const WindowsVersion& version = GetWindowsVersion();
  if (!version.AtLeast(6, 2)) return true;
  if (!version.IsWin10OrLater()) return false;
  uint32_t status = 0;
  const bool available = probe(&status);
  interface_availability_ = status;
  return available;
}

void Installer::Install() {
  if (background_tasks_) background_tasks_->Start();
  events_.ReportInstallerStarted(device_scale_factor_);
  installation_id_ = NewInstallationId();
  if (brand_) brand_->StoreLanguageValue();
  InstallerDataFiles completed = DataFiles();
  ExtractInstallerDataIfAbsent(working_dir_, completed);
  {
    SrwAutoLock lock(data_files_lock_);
    data_files_ = completed;
  }
  StoreSetupValues();

  InstallResult result = InstallBrowser();
  if (result != InstallResult::kSucceeded) {
    const FailureKind failure_kind = GetFailureKind();
    if (result == InstallResult::kFailed) result = InstallResultOf(failure_kind);
    // A stop the user asked for is no error to show, unless setup failed.
    if (delegate_ &&
        (!IsEventSignaled(stop_.event()) || failure_kind != FailureKind::kNone)) {
      delegate_->OnInstallError(static_cast<int>(result));
    }
  } else {
    RemoveSetupValuesAfterSuccess();
  }
  if (delegate_) WaitForBrowserWindow();
  ReportInstallationFinished(
      [this](const std::u16string& url, DownloadSink* sink, std::string* error) {
        return Download(url, sink, error, nullptr);
      },
      events_, result == InstallResult::kSucceeded);
}

InstallerDataFiles Installer::DataFiles() const {
  SrwAutoLock lock(data_files_lock_);
  return data_files_;
}

void Installer::StoreSetupValues() const {
  StoreSetupValue(u"InstallerData", data_files_.installer_data_path().value());
  StoreSetupValue(u"ClidsFile", data_files_.clids_path().value());
  StoreSetupValue(u"TolvarWebsiteIconFile", data_files_.website_icon_path().value());
  StoreSetupValue(u"AbtConfigResourceFile", data_files_.abt_config_path().value());
  if (brand_) brand_->StoreBrandValues();
}

void Installer::RemoveSetupValuesAfterSuccess() const {
  // "lang", "AbtConfigResourceFile" and "install_stat" stay for the browser.
  for (const char16_t* name : {u"InstallerData", u"ClidsFile", u"TolvarWebsiteIconFile",
                               kDistribInfoParamsValueName, u"brand", u"BrandFile",
                               u"PartnerFile"}) {
    RemoveSetupValue(name);
  }
  if (!brand_) return;
  if (!brand_->brand_package_path().empty()) DeleteFileIfExists(brand_->brand_package_path());
  if (!brand_->partner_package_path().empty()) DeleteFileIfExists(brand_->partner_package_path());
}

void Installer::WaitForBrowserWindow() {
  while (WaitForSingleObject(stop_.event(), kBrowserWindowPollMs) == WAIT_TIMEOUT) {
    if (!FindWindowExW(HWND_MESSAGE, nullptr, AsWide(kBrowserMessageWindowClass), nullptr)) {
      delegate_->CloseIfInstallStarted(true);
      return;
    }
  }
}

bool Installer::StartElevated() {
  elevated_installer_.reset();
  const std::u16string setup_command_line =
      BuildSetupCommandLine(u"fake_browser_arc", false).Render();
  bool access_denied = false;
  elevated_installer_ =
      StartElevatedCopy(command_line_, setup_command_line, &access_denied);
  if (elevated_installer_) return true;
  events_.ReportButton(StatButton::kUacDeclined);
  if (access_denied) uac_declined_ = true;
  return false;
}

void Installer::set_elevated_installer(std::unique_ptr<ElevatedInstaller> copy) {
  elevated_installer_ = std::move(copy);
}

bool Installer::RunModuleInElevatedProcess() {
  LOG(INFO) << "Started waiting the elevated installer has finished its work.";
  const bool ok = elevated_installer_->RunModule(stop_.event());
  LOG(INFO) << "The elevated installer has finished, success=" << (ok ? 1 : 0);
  return ok;
}

bool Installer::RunModule(const std::u16string& archive,
                          const InstallerCommandLine& command_line) {
  return ::lite::RunModule(archive, command_line, &result_code_, delegate_);
}

bool Installer::Download(const std::u16string& url, DownloadSink* sink, std::string* error,
                         std::u16string* redirect_url) {
  LOG(INFO) << "Attempt to download module: " << url;
  sink->Reset();
  DownloadAttemptResult result;
  // No stop: the report is due just when the run has been stopped (the
  // window closed); the engine's destructor bounds the wait for it.
  const bool ok = DownloadAttempt(url, sink, nullptr, nullptr, &result);
  if (error) *error = result.error_text;
  if (redirect_url) *redirect_url = result.redirect_url;
  return ok;
}

bool Installer::WriteNumberToFile(const FilePath& path, int64_t number) {
  return WriteWholeFile(path, std::to_string(number));
}

bool Installer::WriteTextToFile(const FilePath& path, const std::string& text) {
  return WriteWholeFile(path, text);
}

bool Installer::ExtractBrowserSetupResource(const FilePath& path) { return false; }

FilePath Installer::GetModulePath() { return ::lite::GetModulePath(working_dir_); }

DownloadResult Installer::GetModule(const FilePath& path, ModuleFile* lock) {
  WinModuleAcquisition acquisition(SetupUrlsOf(brand_), acquisition_environment_.get(),
                                   &download_reporter_);
  const DownloadResult result = acquisition.GetModule(path, lock, command_line_);
  download_micros_ = acquisition.download_duration();
  if (result != DownloadResult::kSucceeded) result_code_ = kExitDownloadFailed;
  return result;
}

void Installer::set_acquisition_environment(std::unique_ptr<AcquisitionEnvironment> environment) {
  acquisition_environment_ = std::move(environment);
}

bool Installer::VerifyDownloadedModule(const FilePath& path) {
  return ::lite::VerifyDownloadedModule(path);
}

bool Installer::VerifyModuleWithTrustJson(const FilePath& path, const std::string& trust_json) {
  return ::lite::VerifyModuleWithTrustJson(path, trust_json);
}

bool Installer::VerifyModuleWithVerifier(const FilePath& path, const TrustVerifier& verifier) {
  return ::lite::VerifyModule(path, verifier);
}

}  // namespace lite
