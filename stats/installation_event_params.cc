#include "stats/installation_event_params.h"

#include <cmath>

#include "base/utf.h"
#include "stats/install_report_url.h"
#include "stats/url_escape.h"

namespace lite {

namespace {

constexpr std::string_view kButtonWords[] = {"install", "minimize", "restore",
                                             "cancel",  "close",    "uac_declined"};
constexpr std::string_view kCheckBoxWords[] = {"default", "sendstat", "tlpin_trial"};

constexpr char16_t kDialogWindow[] = u"liteinstall";

std::u16string Decimal(int64_t value) { return WidenBytes(std::to_string(value)); }

}  // namespace

std::string_view StatButtonWord(StatButton button) {
  return kButtonWords[static_cast<size_t>(button)];
}

std::string_view StatCheckBoxWord(StatCheckBox check_box) {
  return kCheckBoxWords[static_cast<size_t>(check_box)];
}

std::u16string SetupActionWord(std::string_view old_ver) {
  return old_ver.empty() ? u"setup" : u"update";
}

int32_t DpiPercent(double scale_factor) {
  return static_cast<int32_t>(std::round(scale_factor * 100.0));
}

StatParams InstallerStartedParams(int32_t dpi_percent, int32_t screen_width,
                                  int32_t screen_height) {
  return {{"action", u"installer_started"},
          {"dpi", Decimal(dpi_percent)},
          {"resolution", Decimal(screen_width) + u"x" + Decimal(screen_height)}};
}

StatParams DownloadStartedParams() { return {{"action", u"download"}, {"stage", u"started"}}; }

StatParams DownloadAttemptParams(const DownloadAttempt& attempt) {
  StatParams params = {{"action", u"download_attempt"},
                       {"status", attempt.success ? u"success" : u"failed"},
                       {"attempt_number", Decimal(attempt.attempt_number)},
                       {"downloaded_size", Decimal(attempt.downloaded_size)},
                       {"total_size", Decimal(attempt.total_size)}};
  if (!attempt.success) params["error"] = WidenBytes(attempt.error);
  if (!attempt.url.empty()) params["url"] = DoublyEscapedUrlValue(attempt.url);
  if (attempt.redirect_host && !attempt.redirect_host->empty()) {
    params["redirect"] = WidenBytes(*attempt.redirect_host);
  }
  if (attempt.x64) params["x64"] = u"1";
  return params;
}

StatParams DownloadErrorParams(const DownloadAttempt& attempt) {
  return {{"action", u"download"},
          {"stage", u"error"},
          {"error", u"attempt-" + Decimal(attempt.attempt_number) + u"-" +
                        WidenBytes(attempt.error)}};
}

StatParams DownloadFinishedParams(int64_t download_micros) {
  return {{"action", u"download"},
          {"stage", u"finished"},
          {"download_time", Decimal(DurationSeconds(download_micros))}};
}

StatParams ArchiveLockFailedParams() {
  return {{"action", u"setup_arc_lock"}, {"stage", u"error"}};
}

StatParams VerificationFailedParams() {
  return {{"action", u"verification"}, {"stage", u"error"}};
}

StatParams SetupLaunchedParams(std::string_view old_ver, bool uac_notifications_enabled,
                               bool in_elevated_copy) {
  const char16_t* uac = !uac_notifications_enabled ? u"100" : in_elevated_copy ? u"1" : u"0";
  return {{"action", SetupActionWord(old_ver)}, {"stage", u"setup_exe_launched"}, {"uac", uac}};
}

std::optional<std::u16string> SetupExitError(const SetupExit& exit) {
  if (!exit.started) return u"FailedToStart";
  if (exit.in_elevated_copy) {
    if (exit.engine_result == 400) return std::nullopt;  // never set by the elevated copy
    return Decimal(exit.engine_result);
  }
  if (exit.exit_code == 1 || exit.exit_code == 3 || exit.exit_code == 5) return std::nullopt;
  return Decimal(exit.exit_code);
}

StatParams SetupExitedParams(std::string_view old_ver, const SetupExit& exit,
                             int64_t setup_micros) {
  StatParams params = {{"action", SetupActionWord(old_ver)},
                       {"stage", u"setup_exe_exited"},
                       {"setup_time", Decimal(DurationSeconds(setup_micros))}};
  if (std::optional<std::u16string> error = SetupExitError(exit)) params["error"] = *error;
  return params;
}

StatParams InstallButtonParams(bool make_default, uint8_t send_statistics) {
  return {{"action", u"install_browser_button_clicked"},
          {"checkbox_default", make_default ? u"1" : u"0"},
          {"checkbox_sendstat", send_statistics != 0 ? u"1" : u"0"}};
}

StatParams ButtonParams(StatButton button) {
  return {{"clicked_button", WidenBytes(StatButtonWord(button))}, {"dialog_window", kDialogWindow}};
}

StatParams LinkParams(const std::u16string& opened_url) {
  return {{"clicked_link", opened_url}, {"dialog_window", kDialogWindow}};
}

StatParams CheckBoxParams(StatCheckBox check_box) {
  return {{"chosen_checkbox", WidenBytes(StatCheckBoxWord(check_box))},
          {"dialog_window", kDialogWindow}};
}

}  // namespace lite
