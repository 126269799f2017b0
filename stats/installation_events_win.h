// The installation's statistics events, one operation per event, and the
// final report's URL. The engine owns the statistics object and the values
// read here; the events read them at the moment they are sent.
#ifndef STATS_INSTALLATION_EVENTS_WIN_H_
#define STATS_INSTALLATION_EVENTS_WIN_H_

#include <atomic>
#include <cstdint>
#include <string>

#include "stats/install_statistics_win.h"
#include "stats/installation_event_params.h"

namespace lite {

// The engine's fields the events read; all durations in microseconds, 0
// until measured.
struct InstallationEventSources {
  const std::atomic<int32_t>& cancel_count;
  const int64_t& download_micros;
  const int64_t& setup_micros;
  const int64_t& install_micros;
  const std::u16string& installation_id;
};

class InstallationEvents {
 public:
  InstallationEvents(InstallStatistics& statistics, const InstallationEventSources& sources);

  // |scale_factor| is the window's DPI scale; the screen size is read here.
  void ReportInstallerStarted(double scale_factor);
  void ReportDownloadStarted();
  // A failed attempt is followed by its download error. Neither is sent once
  // the user has cancelled; the cancel counter is read once for both, so a
  // cancel in between cannot part an attempt from its error. |redirect_url|
  // is the last redirect target (empty when there was none); its host is
  // reported.
  void ReportDownloadAttempt(DownloadAttempt attempt, const std::u16string& redirect_url);
  void ReportDownloadFinished();
  void ReportArchiveLockFailed();
  void ReportVerificationFailed();
  void ReportSetupLaunched(bool uac_notifications_enabled, bool in_elevated_copy);
  void ReportSetupExited(const SetupExit& exit);
  void ReportInstallButton(bool make_default, uint8_t send_statistics);
  void ReportButton(StatButton button);
  void ReportLink(const std::u16string& opened_url);
  void ReportCheckBox(StatCheckBox check_box);

  // The final report: "cancelled" once the user cancelled, otherwise after
  // |success|.
  std::string_view InstallResult(bool success) const;
  std::string InstallReportUrl(bool success) const;

 private:
  bool Cancelled() const;

  InstallStatistics& statistics_;
  InstallationEventSources sources_;
};

}  // namespace lite

#endif  // STATS_INSTALLATION_EVENTS_WIN_H_
