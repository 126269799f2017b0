// Module acquisition on Windows: the archive's temporary file, the
// environment the attempt policy runs in (the resumable downloader with the
// engine's stop event, the pause, the installer's own age from its version
// resource), and the download time.
#ifndef INSTALLER_ENGINE_MODULE_ACQUISITION_WIN_H_
#define INSTALLER_ENGINE_MODULE_ACQUISITION_WIN_H_

#include <windows.h>

#include <string>

#include "base/file_path.h"
#include "installer/engine/acquisition_environment.h"
#include "installer/engine/module_acquisition.h"
#include "net/download_observer.h"

namespace lite {

class InstallerDelegate;
class ModuleFile;
class TransferStop;

// Passes download progress on to the engine's delegate; without one (a
// silent run) every notification is dropped.
class DownloadProgressForwarder : public DownloadObserver {
 public:
  explicit DownloadProgressForwarder(InstallerDelegate* delegate) : delegate_(delegate) {}
  void OnProgress(float fraction) override;
  void OnSlowDownload() override;
  // The window's estimate includes the installation that follows: 240 s.
  void OnRemainingTime(int64_t seconds, int32_t phase) override;

 private:
  InstallerDelegate* delegate_;
};

// What the engine learns when the archive has been obtained.
class ModuleAcquisitionReporter : public ModuleDownloadReporter {
 public:
  // |module_version| is the archive's file version ("0.0.0.0" without one).
  virtual void OnModuleDownloaded(const std::string& module_version,
                                  int64_t download_micros) = 0;
  virtual void OnModuleNotDownloaded(int64_t download_micros) {}
};

// The engine's environment: attempts through the resumable downloader,
// progress to |delegate| (may be null), pauses and attempts ended by |stop|,
// which must outlive it.
class WinAcquisitionEnvironment : public AcquisitionEnvironment {
 public:
  WinAcquisitionEnvironment(TransferStop* stop, InstallerDelegate* delegate);

  DownloadAttemptOutcome RunAttempt(const std::u16string& url, DownloadSink* sink) override;
  bool Pause(uint32_t ms) override;
  bool IsStopRequested() override;
  int64_t NowSince1601Micros() override;
  std::optional<int64_t> OwnCreationTime() override;

 private:
  TransferStop* stop_;
  DownloadProgressForwarder forwarder_;
};

// The system this process runs on, as the policy asks about it.
AcquisitionSystem CurrentAcquisitionSystem();

// A new temporary file name in |working_dir|, empty on failure.
FilePath GetModulePath(const FilePath& working_dir);

// Microseconds since 1601-01-01 UTC: the version resource's file date, or
// the last write time without one.
bool GetModuleCreationTime(const FilePath& path, int64_t* time);

// Obtains the archive into one file with the attempt policy.
class WinModuleAcquisition {
 public:
  // |environment| must outlive this object; |reporter| may be null.
  WinModuleAcquisition(BrandSetupUrls urls, AcquisitionEnvironment* environment,
                       ModuleAcquisitionReporter* reporter);

  // Downloads the archive to |path|; with |lock| the file stays open in it
  // (the permanent-lock mode). The time it took is download_duration().
  DownloadResult GetModule(const FilePath& path, ModuleFile* lock,
                           const InstallerCommandLine& command_line);
  DownloadResult DownloadOrExtractModule(const FilePath& path, bool* downloaded,
                                         ModuleFile* lock,
                                         const InstallerCommandLine& command_line);

  int64_t download_duration() const { return download_duration_; }

 private:
  ModuleAcquisition policy_;
  ModuleAcquisitionReporter* reporter_;
  int64_t download_duration_ = 0;
};

}  // namespace lite

#endif  // INSTALLER_ENGINE_MODULE_ACQUISITION_WIN_H_
