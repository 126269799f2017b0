// Reports the archive's download to the installation's statistics: the
// start, every attempt (a failed one followed by its download error), and
// the downloaded archive's version and kind.
#ifndef INSTALLER_ENGINE_DOWNLOAD_STATISTICS_WIN_H_
#define INSTALLER_ENGINE_DOWNLOAD_STATISTICS_WIN_H_

#include <cstdint>
#include <string>

#include "installer/engine/module_acquisition_win.h"

namespace lite {

class DistribInfoParams;
class InstallStatistics;
class InstallationEvents;

class DownloadStatisticsReporter : public ModuleAcquisitionReporter {
 public:
  // |download_micros| is the engine's download duration, which the events
  // read; |params| may be null.
  DownloadStatisticsReporter(InstallStatistics& statistics, InstallationEvents& events,
                             const DistribInfoParams* params, int64_t* download_micros);

  void OnDownloadStarted() override;
  void OnDownloadAttempt(const DownloadAttemptReport& report) override;
  void OnModuleDownloaded(const std::string& module_version, int64_t download_micros) override;
  void OnModuleNotDownloaded(int64_t download_micros) override;

 private:
  InstallStatistics& statistics_;
  InstallationEvents& events_;
  const DistribInfoParams* params_;
  int64_t* download_micros_;
};

}  // namespace lite

#endif  // INSTALLER_ENGINE_DOWNLOAD_STATISTICS_WIN_H_
