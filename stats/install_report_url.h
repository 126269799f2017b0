// The final installation report: one GET to the installation-report host,
//   <host>/get/browser/install?ui=<installation id>&result=<word>&time=<s>
// followed by "&download_time=<s>" and "&install_time=<s>" when those
// durations were measured.
#ifndef STATS_INSTALL_REPORT_URL_H_
#define STATS_INSTALL_REPORT_URL_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace lite {

// Whole seconds of a duration in microseconds, truncated toward zero; the
// two extreme values stand for infinite durations and are kept as they are.
int64_t DurationSeconds(int64_t micros);

// "cancelled" once the user cancelled, else "success" or "failed".
std::string_view InstallResultWord(int32_t cancel_count, bool success);

struct InstallReport {
  std::string installation_id;  // empty when no GUID could be made
  std::string_view result;      // InstallResultWord
  int64_t install_micros = 0;
  int64_t download_micros = 0;
  int64_t setup_micros = 0;
};

// |host| is scheme and host without a trailing slash.
std::string BuildInstallReportUrl(std::string_view host, const InstallReport& report);

}  // namespace lite

#endif  // STATS_INSTALL_REPORT_URL_H_
