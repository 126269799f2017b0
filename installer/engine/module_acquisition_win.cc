#include "installer/engine/module_acquisition_win.h"

#include "base/file_time_win.h"
#include "base/file_util_win.h"
#include "base/file_version_win.h"
#include "base/scoped_handle_win.h"
#include "base/time.h"
#include "base/waitable_event_win.h"
#include "base/wide_string_win.h"
#include "base/windows_version_win.h"
#include "installer/installer_delegate.h"
#include "logging/system_error_win.h"
#include "net/download_attempt_win.h"
#include "net/file_sink_win.h"
#include "net/module_file_win.h"
#include "net/transfer_stop_win.h"

namespace lite {

namespace {

constexpr int kRemainingInstallSeconds = 240;

}  // namespace

void DownloadProgressForwarder::OnProgress(float fraction) {
  if (delegate_) delegate_->OnDownloadProgress(fraction);
}

void DownloadProgressForwarder::OnSlowDownload() {
  if (delegate_) delegate_->OnSlowDownload();
}

void DownloadProgressForwarder::OnRemainingTime(int64_t seconds, int32_t phase) {
  if (delegate_) {
    delegate_->OnTimeRemaining(static_cast<int>(seconds + kRemainingInstallSeconds), phase);
  }
}

WinAcquisitionEnvironment::WinAcquisitionEnvironment(TransferStop* stop,
                                                     InstallerDelegate* delegate)
    : stop_(stop), forwarder_(delegate) {}

DownloadAttemptOutcome WinAcquisitionEnvironment::RunAttempt(const std::u16string& url,
                                                             DownloadSink* sink) {
  DownloadAttemptResult result;
  DownloadAttemptOutcome outcome;
  outcome.success = DownloadAttempt(url, sink, *stop_, &forwarder_, &result);
  outcome.error = result.error_text;
  outcome.redirect_url = result.redirect_url;
  outcome.total_size = result.total_size;
  outcome.exception_code = result.exception.code;
  outcome.failed_module = result.exception.failed_module;
  outcome.failed_function = result.exception.failed_function;
  outcome.proxy_credentials_exhausted = result.proxy_credentials_exhausted;
  return outcome;
}

bool WinAcquisitionEnvironment::Pause(uint32_t ms) {
  return WaitForSingleObject(stop_->event(), ms) != WAIT_TIMEOUT;
}

bool WinAcquisitionEnvironment::IsStopRequested() { return IsEventSignaled(stop_->event()); }

int64_t WinAcquisitionEnvironment::NowSince1601Micros() {
  return WallClockMicros() + k1601To1970Micros;
}

std::optional<int64_t> WinAcquisitionEnvironment::OwnCreationTime() {
  int64_t time = 0;
  if (!GetModuleCreationTime(GetExecutablePath(), &time)) return std::nullopt;
  return time;
}

AcquisitionSystem CurrentAcquisitionSystem() {
  const WindowsVersion& version = GetWindowsVersion();
  SYSTEM_INFO info;
  GetNativeSystemInfo(&info);
  AcquisitionSystem system;
  system.xp_or_vista =
      (version.major == 5 && version.minor == 1) || (version.major == 6 && version.minor == 0);
  system.native_64bit = info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
  return system;
}

FilePath GetModulePath(const FilePath& working_dir) {
  std::optional<FilePath> path;
  if (!working_dir.empty()) path = CreateTemporaryFileInDir(working_dir, u"tq");
  if (!path) {
    PLOG(ERROR) << "Cannot obtain temp file.";
    return FilePath();
  }
  return *path;
}

bool GetModuleCreationTime(const FilePath& path, int64_t* time) {
  if (const std::optional<VS_FIXEDFILEINFO> info = ReadFixedFileInfo(path)) {
    const uint64_t date = (uint64_t{info->dwFileDateMS} << 32) | info->dwFileDateLS;
    if (date != 0) {
      *time = static_cast<int64_t>(date);
      return true;
    }
    LOG(WARNING) << "Version time is 0 in " << path;
  } else {
    LOG(WARNING) << "File version resource is absent in " << path;
  }
  LOG(WARNING) << "Used the last write file time";
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  if (!GetFileAttributesExW(AsWide(path.value()), GetFileExInfoStandard, &attributes)) {
    return false;
  }
  *time = FileTimeToMicrosSince1601(attributes.ftLastWriteTime);
  return true;
}

WinModuleAcquisition::WinModuleAcquisition(BrandSetupUrls urls,
                                           AcquisitionEnvironment* environment,
                                           ModuleAcquisitionReporter* reporter)
    : policy_(std::move(urls), CurrentAcquisitionSystem(), environment, reporter),
      reporter_(reporter) {}

DownloadResult WinModuleAcquisition::GetModule(const FilePath& path, ModuleFile* lock,
                                               const InstallerCommandLine& command_line) {
  const int64_t start = WallClockMicros();
  bool downloaded = false;
  const DownloadResult result = DownloadOrExtractModule(path, &downloaded, lock, command_line);
  download_duration_ = WallClockMicros() - start;
  if (result != DownloadResult::kSucceeded) {
    // The result code says why; the thread's last error is not about it.
    LOG(ERROR) << "Module was not downloaded: " << path;
    if (reporter_) reporter_->OnModuleNotDownloaded(download_duration_);
    return result;
  }
  LOG(INFO) << "Module downloaded: " << path;
  if (reporter_) reporter_->OnModuleDownloaded(GetFileVersionText(path), download_duration_);
  return DownloadResult::kSucceeded;
}

DownloadResult WinModuleAcquisition::DownloadOrExtractModule(
    const FilePath& path, bool* downloaded, ModuleFile* lock,
    const InstallerCommandLine& command_line) {
  ScopedHandle owned;
  HANDLE file = INVALID_HANDLE_VALUE;
  if (lock) {
    lock->Close();
    if (lock->Create(path)) file = lock->GetHandle();
  } else {
    owned.reset(CreateFileW(AsWide(path.value()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (owned) file = owned.get();
  }
  if (file == INVALID_HANDLE_VALUE || file == nullptr) {
    PLOG(ERROR) << "Cannot create file:" << path;
    return DownloadResult::kFileNotCreated;
  }
  LOG(INFO) << "Try to download module:" << path;
  FileSink sink(file);
  const DownloadResult result = policy_.DownloadModule(&sink, command_line);
  *downloaded = result == DownloadResult::kSucceeded;
  return result;
}

}  // namespace lite
