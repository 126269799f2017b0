#include "stats/install_report_url.h"

#include <limits>

namespace lite {

int64_t DurationSeconds(int64_t micros) {
  if (micros == std::numeric_limits<int64_t>::max() ||
      micros == std::numeric_limits<int64_t>::min()) {
    return micros;
  }
  return micros / 1000000;  // C++ division truncates toward zero
}

std::string_view InstallResultWord(int32_t cancel_count, bool success) {
  if (cancel_count >= 1) return "cancelled";
  return success ? "success" : "failed";
}

std::string BuildInstallReportUrl(std::string_view host, const InstallReport& report) {
  std::string url(host);
  url += "/get/browser/install?ui=";
  url += report.installation_id;
  url += "&result=";
  url += report.result;
  url += "&time=" + std::to_string(DurationSeconds(report.install_micros));
  if (report.download_micros != 0) {
    url += "&download_time=" + std::to_string(DurationSeconds(report.download_micros));
  }
  if (report.setup_micros != 0) {
    url += "&install_time=" + std::to_string(DurationSeconds(report.setup_micros));
  }
  return url;
}

}  // namespace lite
