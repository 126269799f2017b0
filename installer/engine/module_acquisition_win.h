// Module acquisition on Windows: the archive's temporary file, the attempts
// through the resumable downloader with the engine's stop event, the
// installer's own age from its version resource, and the download time.
#ifndef INSTALLER_ENGINE_MODULE_ACQUISITION_WIN_H_
#define INSTALLER_ENGINE_MODULE_ACQUISITION_WIN_H_

#include <windows.h>

#include <string>

#include "base/file_path.h"
#include "installer/engine/module_acquisition.h"
#include "net/download_observer.h"

namespace lite {

class InstallerDelegate;
class ModuleFile;

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

class WinModuleAcquisition : public ModuleAcquisition {
 public:
  // |stop_event| ends every attempt and pause; |delegate| may be null.
  WinModuleAcquisition(BrandSetupUrls urls, ModuleAcquisitionReporter* reporter,
                       HANDLE stop_event, InstallerDelegate* delegate);

  // A new temporary file name in |working_dir|, empty on failure.
  FilePath GetModulePath(const FilePath& working_dir);
  // Downloads the archive to |path|; with |lock| the file stays open in it
  // (the permanent-lock mode). A download result code; the time it took is
  // download_duration().
  int GetModule(const FilePath& path, ModuleFile* lock, const InstallerCommandLine& command_line);
  int DownloadOrExtractModule(const FilePath& path, bool* downloaded, ModuleFile* lock,
                              const InstallerCommandLine& command_line);
  // One plain attempt, for the final report: no policy, no statistics, and
  // no stop: the report is due just when the run has been stopped (the
  // window closed); the engine's destructor bounds the wait for it.
  bool Download(const std::u16string& url, DownloadSink* sink, std::string* error,
                std::u16string* redirect_url);

  // Microseconds since 1601-01-01 UTC: the version resource's file date, or
  // the last write time without one.
  virtual bool GetModuleCreationTime(const FilePath& path, int64_t* time);

  int64_t download_duration() const { return download_duration_; }

 protected:
  bool GetOwnCreationTime(int64_t* time) override;
  int64_t NowSince1601Micros() override;
  bool IsXpOrVista() override;
  bool IsNative64Bit() override;
  bool IsStopRequested() override;
  DownloadAttemptOutcome RunDownloadAttempt(const std::u16string& url,
                                            DownloadSink* sink) override;
  bool WaitForStop(uint32_t ms) override;

 private:
  ModuleAcquisitionReporter* reporter_;
  HANDLE stop_event_;
  DownloadProgressForwarder forwarder_;
  int64_t download_duration_ = 0;
};

}  // namespace lite

#endif  // INSTALLER_ENGINE_MODULE_ACQUISITION_WIN_H_
