// The installation engine: one object per installer process that owns what
// one installation needs (statistics, the archive download, the data files,
// the elevated copy) and runs the installation from the first event to the
// final report. The window drives it from its own thread; a silent run and
// the elevated copy drive it directly.
#ifndef INSTALLER_ENGINE_INSTALLER_WIN_H_
#define INSTALLER_ENGINE_INSTALLER_WIN_H_

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/file_path.h"
#include "base/scoped_handle_win.h"
#include "base/srw_lock_win.h"
#include "base/thread_win.h"
#include "distribution/installer_data_files.h"
#include "installer/command_line/installer_command_line.h"
#include "installer/engine/acquisition_environment.h"
#include "installer/engine/download_statistics_win.h"
#include "installer/engine/install_result.h"
#include "installer/engine/module_acquisition.h"
#include "net/module_file_win.h"
#include "net/transfer_stop_win.h"
#include "stats/install_statistics_win.h"
#include "stats/installation_events_win.h"

namespace lite {

class AsyncInstallTasks;
class BrandInfo;
class DistribInfoParams;
class DownloadSink;
class ElevatedInstaller;
class InstallerDelegate;
class TrustVerifier;
enum class FailureKind : int32_t;

// How long the destructor and WaitForInstallAsync give the worker thread.
inline constexpr DWORD kInstallThreadExitTimeoutMs = 60000;
// How often a finished installation looks for the browser's window.
inline constexpr DWORD kBrowserWindowPollMs = 20000;
inline constexpr char16_t kBrowserMessageWindowClass[] = u"TolvarBrowser_MessageWindow";

// The install result a failure kind recorded by a setup run stands for;
// kFailed when none was recorded.
InstallResult InstallResultOf(FailureKind kind);

class Installer {
 public:
  // |command_line| is the installer's own: the switches that choose the
  // data files, the architecture and what setup is handed. |delegate|,
  // |brand| and |params| may be null (the elevated copy has neither brand
  // nor parameters; a silent run has no delegate) and must outlive the
  // engine.
  Installer(InstallerCommandLine command_line, InstallerDelegate* delegate,
            const BrandInfo* brand, const DistribInfoParams* params, bool with_background_tasks);
  Installer(const Installer&) = delete;
  Installer& operator=(const Installer&) = delete;
  virtual ~Installer();

  // Runs setup in the elevated copy instead of here.
  virtual bool RunModuleInElevatedProcess();
  // Runs setup here: |command_line| with |archive| as its program and
  // "source" appended; the exit code lands in the result code.
  virtual bool RunModule(const std::u16string& archive, const InstallerCommandLine& command_line);
  virtual void Initialize(const BrandInfo* brand, const DistribInfoParams* params);
  // One plain download (the final report), sent also after a stop.
  virtual bool Download(const std::u16string& url, DownloadSink* sink, std::string* error,
                        std::u16string* redirect_url);
  virtual bool WriteNumberToFile(const FilePath& path, int64_t number);
  virtual bool WriteTextToFile(const FilePath& path, const std::string& text);
  // This installer carries no embedded archive.
  virtual bool ExtractBrowserSetupResource(const FilePath& path);
  virtual FilePath GetModulePath();
  // With |lock| the archive stays open in it afterwards.
  virtual DownloadResult GetModule(const FilePath& path, ModuleFile* lock);
  virtual bool VerifyDownloadedModule(const FilePath& path);
  virtual bool VerifyModuleWithTrustJson(const FilePath& path, const std::string& trust_json);
  virtual bool VerifyModuleWithVerifier(const FilePath& path, const TrustVerifier& verifier);

  // The window's operations.
  void InstallAsync();
  void InstallSync();
  void ReleaseInstall();
  void RecordInstallClickTime();
  // Stops the worker and waits for it; false when it did not end in time.
  bool WaitForInstallAsync();
  void SetMakeBrowserDefault(bool make_default);
  void set_send_statistics(bool send) { send_statistics_ = send; }
  void set_install_pin(bool pin) { install_pin_ = pin; }
  void SetBrowserPresent(const std::string& value);
  // Whether the default-browser interface can be used here; |probe| asks
  // the system where the Windows version alone does not tell, and leaves
  // the status setup is handed as "the-interface-availability".
  bool CheckInterfaceAvailability(const std::function<bool(uint32_t* status)>& probe);
  // The screen's scale factor, reported in the first statistics event.
  void set_device_scale_factor(double factor) { device_scale_factor_ = factor; }
  // Starts the elevated copy that will run setup (the window decides when).
  bool StartElevated();
  void IncrementCancelCount() { cancel_count_.fetch_add(1); }

  // The whole installation, on whichever thread runs it.
  void Install();

  // Whether setup has been started, here or through the elevated copy;
  // any thread may ask. Setup's window messages mean nothing before.
  bool setup_started() const { return setup_started_.load(); }
  int32_t result_code() const { return result_code_; }
  bool make_browser_default() const { return make_default_; }
  bool send_statistics() const { return send_statistics_; }
  bool install_pin() const { return install_pin_; }
  const std::u16string& installation_id() const { return installation_id_; }
  InstallationEvents& events() { return events_; }
  InstallStatistics& statistics() { return statistics_; }
  HANDLE stop_event() const { return stop_.event(); }

  // Unlocks and deletes the downloaded archive. InstallBrowser does so on
  // its way out; the destructor again, after any elevated copy has ended,
  // for a worker that had to be terminated.
  void ReleaseArchive();

 protected:
  // The archive's way from download to the end of setup, in the stages
  // below.
  InstallResult InstallBrowser();
  // The setup command line for |archive|; the elevated copy's is built for
  // a placeholder archive and without the data files, which it gets through
  // the shared parameter block.
  InstallerCommandLine BuildSetupCommandLine(const std::u16string& archive,
                                             bool with_data_files) const;
  // The elevated copy that will run setup instead of this process.
  void set_elevated_installer(std::unique_ptr<ElevatedInstaller> copy);
  // Where a replaced setup run puts the exit code it stands for.
  void set_result_code(int32_t code) { result_code_ = code; }
  // What the archive's download runs in; the engine's own goes through the
  // downloader with the stop event and reports progress to the delegate.
  void set_acquisition_environment(std::unique_ptr<AcquisitionEnvironment> environment);
  TransferStop& transfer_stop() { return stop_; }

 private:

  // The data-file paths, which the worker completes while the window may
  // build the elevated copy's command line.
  InstallerDataFiles DataFiles() const;
  void StoreSetupValues() const;
  void RemoveSetupValuesAfterSuccess() const;
  void WaitForBrowserWindow();
  bool WriteParamsForElevatedCopy() const;

  // The stages of InstallBrowser, in their order.
  enum class ReleaseWait { kReleased, kStopped };
  enum class ArchiveCheck { kVerified, kNotLocked, kUntrusted };
  enum class SetupRun { kSucceeded, kFailed, kNotLaunched };
  DownloadResult ObtainArchive(bool permanent_lock);
  // Until the window lets setup start, or a stop.
  ReleaseWait WaitForRelease();
  // Locked against writers first, so that what was verified is what runs.
  ArchiveCheck LockAndVerifyArchive(bool permanent_lock);
  SetupRun LaunchHere();
  SetupRun LaunchInElevatedCopy();
  // The install result after the elevated copy's setup run failed.
  InstallResult FinishElevatedRun();
  // Ends the hold on the archive that keeps others from writing it.
  void CloseArchiveLocks();

  const InstallerCommandLine command_line_;
  InstallStatistics statistics_;
  std::unique_ptr<AsyncInstallTasks> background_tasks_;
  InstallerDelegate* delegate_;
  const BrandInfo* brand_;
  const DistribInfoParams* params_;
  bool make_default_ = false;
  bool send_statistics_ = false;
  bool install_pin_ = true;
  double device_scale_factor_ = 1.0;
  FilePath working_dir_;
  mutable SrwLock data_files_lock_;
  InstallerDataFiles data_files_;
  std::u16string installation_id_;
  int32_t result_code_;
  Thread install_thread_;
  // Its request also closes the download under way.
  TransferStop stop_;
  ScopedHandle release_event_;
  std::atomic<int32_t> cancel_count_{0};
  std::atomic<bool> setup_started_{false};
  int64_t install_micros_ = 0;
  int64_t download_micros_ = 0;
  int64_t setup_micros_ = 0;
  int64_t install_click_time_ = 0;
  int64_t install_start_time_ = 0;
  int64_t interface_availability_ = 0;
  std::string user_id_;
  std::string browser_present_;
  std::unique_ptr<ElevatedInstaller> elevated_installer_;
  bool uac_declined_ = false;
  FilePath module_path_;
  // Held from the download (permanent-lock mode) or from the release until
  // setup has ended here or in the elevated copy.
  ModuleFile archive_module_file_;
  ScopedHandle archive_read_lock_;
  FilePath partner_package_override_path_;

  InstallationEvents events_;
  DownloadStatisticsReporter download_reporter_;
  std::unique_ptr<AcquisitionEnvironment> acquisition_environment_;
};

}  // namespace lite

#endif  // INSTALLER_ENGINE_INSTALLER_WIN_H_
