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

WinModuleAcquisition::WinModuleAcquisition(BrandSetupUrls urls,
                                           ModuleAcquisitionReporter* reporter,
                                           HANDLE stop_event, InstallerDelegate* delegate)
    : ModuleAcquisition(std::move(urls), reporter),
      reporter_(reporter),
      stop_event_(stop_event),
      forwarder_(delegate) {}

FilePath WinModuleAcquisition::GetModulePath(const FilePath& working_dir) {
  std::optional<FilePath> path;
  if (!working_dir.empty()) path = CreateTemporaryFileInDir(working_dir, u"tq");
  if (!path) {
    PLOG(ERROR) << "Cannot obtain temp file.";
    return FilePath();
  }
  return *path;
}

int WinModuleAcquisition::GetModule(const FilePath& path, ModuleFile* lock,
                                    const InstallerCommandLine& command_line) {
  const int64_t start = WallClockMicros();
  bool downloaded = false;
  const int result = DownloadOrExtractModule(path, &downloaded, lock, command_line);
  download_duration_ = WallClockMicros() - start;
  if (result != kDownloadSucceeded) {
    // The result code says why; the thread's last error is not about it.
    LOG(ERROR) << "Module was not downloaded: " << path;
    if (reporter_) reporter_->OnModuleNotDownloaded(download_duration_);
    return result;
  }
  LOG(INFO) << "Module downloaded: " << path;
  if (reporter_) reporter_->OnModuleDownloaded(GetFileVersionText(path), download_duration_);
  return kDownloadSucceeded;
}

int WinModuleAcquisition::DownloadOrExtractModule(const FilePath& path, bool* downloaded,
                                                  ModuleFile* lock,
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
    return kDownloadFileNotCreated;
  }
  LOG(INFO) << "Try to download module:" << path;
  FileSink sink(file);
  const int result = DownloadModule(&sink, command_line);
  *downloaded = result == kDownloadSucceeded;
  return result;
}

bool WinModuleAcquisition::Download(const std::u16string& url, DownloadSink* sink,
                                    std::string* error, std::u16string* redirect_url) {
  LOG(INFO) << "Attempt to download module: " << url;
  sink->Reset();
  DownloadAttemptResult result;
  const bool ok = DownloadAttempt(url, sink, nullptr, nullptr, &result);
  if (error) *error = result.error_text;
  if (redirect_url) *redirect_url = result.redirect_url;
  return ok;
}

bool WinModuleAcquisition::GetModuleCreationTime(const FilePath& path, int64_t* time) {
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

bool WinModuleAcquisition::GetOwnCreationTime(int64_t* time) {
  return GetModuleCreationTime(GetExecutablePath(), time);
}

int64_t WinModuleAcquisition::NowSince1601Micros() {
  return WallClockMicros() + k1601To1970Micros;
}

bool WinModuleAcquisition::IsXpOrVista() {
  const WindowsVersion& version = GetWindowsVersion();
  return (version.major == 5 && version.minor == 1) || (version.major == 6 && version.minor == 0);
}

bool WinModuleAcquisition::IsNative64Bit() {
  SYSTEM_INFO info;
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

bool WinModuleAcquisition::IsStopRequested() {
  return IsEventSignaled(stop_event_);
}

bool WinModuleAcquisition::WaitForStop(uint32_t ms) {
  return WaitForSingleObject(stop_event_, ms) != WAIT_TIMEOUT;
}

DownloadAttemptOutcome WinModuleAcquisition::RunDownloadAttempt(const std::u16string& url,
                                                                DownloadSink* sink) {
  DownloadAttemptResult result;
  DownloadAttemptOutcome outcome;
  outcome.success = DownloadAttempt(url, sink, stop_event_, &forwarder_, &result);
  outcome.error = result.error_text;
  outcome.redirect_url = result.redirect_url;
  outcome.total_size = result.total_size;
  outcome.exception_code = result.exception.code;
  outcome.failed_module = result.exception.failed_module;
  outcome.failed_function = result.exception.failed_function;
  return outcome;
}

}  // namespace lite
