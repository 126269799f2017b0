#include "installer/engine/download_statistics_win.h"

#include "base/utf.h"
#include "distribution/distrib_info_params.h"
#include "stats/install_statistics_win.h"
#include "stats/installation_events_win.h"

namespace lite {

DownloadStatisticsReporter::DownloadStatisticsReporter(InstallStatistics& statistics,
                                                       InstallationEvents& events,
                                                       const DistribInfoParams* params,
                                                       int64_t* download_micros)
    : statistics_(statistics),
      events_(events),
      params_(params),
      download_micros_(download_micros) {}

void DownloadStatisticsReporter::OnDownloadStarted() { events_.ReportDownloadStarted(); }

void DownloadStatisticsReporter::OnDownloadAttempt(const DownloadAttemptReport& report) {
  DownloadAttempt attempt;
  attempt.success = report.success;
  attempt.error = report.error;
  attempt.attempt_number = report.attempt_number;
  attempt.downloaded_size = report.downloaded_size;
  attempt.total_size = report.total_size;
  attempt.url = WidenBytes(report.url);
  attempt.x64 = report.architecture_class == kArchitecture64;
  events_.ReportDownloadAttempt(attempt, report.redirect_url);
}

void DownloadStatisticsReporter::OnModuleDownloaded(const std::string& module_version,
                                                    int64_t download_micros) {
  *download_micros_ = download_micros;
  statistics_.SetParam(StatParam::kNewVer, module_version);
  statistics_.SetParam(StatParam::kInstallType, "normal");
  events_.ReportDownloadFinished();
}

void DownloadStatisticsReporter::OnModuleNotDownloaded(int64_t download_micros) {
  *download_micros_ = download_micros;
  std::string code;
  if (params_ && params_->GetParam("code", &code) && code == "lite_install_failed") {
    statistics_.SetParam(StatParam::kInstallType, "lite_install_failed");
  }
}

}  // namespace lite
