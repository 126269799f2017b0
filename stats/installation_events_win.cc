#include "stats/installation_events_win.h"

#include <windows.h>

#include "base/endpoints.h"
#include "base/utf.h"
#include "stats/install_report_url.h"
#include "stats/redirect_host_win.h"

namespace lite {

InstallationEvents::InstallationEvents(InstallStatistics& statistics,
                                       const InstallationEventSources& sources)
    : statistics_(statistics), sources_(sources) {}

bool InstallationEvents::Cancelled() const {
  return sources_.cancel_count.load(std::memory_order_seq_cst) > 0;
}

void InstallationEvents::ReportInstallerStarted(double scale_factor) {
  statistics_.Send(InstallerStartedParams(DpiPercent(scale_factor),
                                          GetSystemMetrics(SM_CXSCREEN),
                                          GetSystemMetrics(SM_CYSCREEN)));
}

void InstallationEvents::ReportDownloadStarted() { statistics_.Send(DownloadStartedParams()); }

void InstallationEvents::ReportDownloadAttempt(DownloadAttempt attempt,
                                               const std::u16string& redirect_url) {
  if (Cancelled()) return;
  if (!redirect_url.empty()) attempt.redirect_host = RedirectHostName(redirect_url);
  statistics_.Send(DownloadAttemptParams(attempt));
  if (!attempt.success) statistics_.Send(DownloadErrorParams(attempt));
}

void InstallationEvents::ReportDownloadFinished() {
  statistics_.Send(DownloadFinishedParams(sources_.download_micros));
}

void InstallationEvents::ReportArchiveLockFailed() { statistics_.Send(ArchiveLockFailedParams()); }

void InstallationEvents::ReportVerificationFailed() {
  statistics_.Send(VerificationFailedParams());
}

void InstallationEvents::ReportSetupLaunched(bool uac_notifications_enabled,
                                             bool in_elevated_copy) {
  statistics_.Send(SetupLaunchedParams(statistics_.GetParam(StatParam::kOldVer),
                                       uac_notifications_enabled, in_elevated_copy));
}

void InstallationEvents::ReportSetupExited(const SetupExit& exit) {
  statistics_.Send(
      SetupExitedParams(statistics_.GetParam(StatParam::kOldVer), exit, sources_.setup_micros));
}

void InstallationEvents::ReportInstallButton(bool make_default, uint8_t send_statistics) {
  statistics_.Send(InstallButtonParams(make_default, send_statistics));
}

void InstallationEvents::ReportButton(StatButton button) {
  statistics_.SendReinstallDialogStat(ButtonParams(button));
}

void InstallationEvents::ReportLink(const std::u16string& opened_url) {
  statistics_.SendReinstallDialogStat(LinkParams(opened_url));
}

void InstallationEvents::ReportCheckBox(StatCheckBox check_box) {
  statistics_.SendReinstallDialogStat(CheckBoxParams(check_box));
}

std::string_view InstallationEvents::InstallResult(bool success) const {
  return InstallResultWord(sources_.cancel_count.load(std::memory_order_seq_cst), success);
}

std::string InstallationEvents::InstallReportUrl(bool success) const {
  InstallReport report;
  report.installation_id = UTF16ToUTF8(sources_.installation_id);
  report.result = InstallResult(success);
  report.install_micros = sources_.install_micros;
  report.download_micros = sources_.download_micros;
  report.setup_micros = sources_.setup_micros;
  return BuildInstallReportUrl(endpoints::kInstallReport, report);
}

}  // namespace lite
