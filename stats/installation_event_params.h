// The parameters of each installation event. The persistent parameters are
// added by the sender; these are only the event's own.
#ifndef STATS_INSTALLATION_EVENT_PARAMS_H_
#define STATS_INSTALLATION_EVENT_PARAMS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "stats/stat_params.h"

namespace lite {

// Buttons and window commands reported through the reinstall-dialog counter.
enum class StatButton { kInstall, kMinimize, kRestore, kCancel, kClose, kUacDeclined };
enum class StatCheckBox { kDefault, kSendStat, kPinTrial };

std::string_view StatButtonWord(StatButton button);
std::string_view StatCheckBoxWord(StatCheckBox check_box);

// "update" when an earlier browser version is known, else "setup".
std::u16string SetupActionWord(std::string_view old_ver);

// round(scale x 100), halves away from zero.
int32_t DpiPercent(double scale_factor);

StatParams InstallerStartedParams(int32_t dpi_percent, int32_t screen_width,
                                  int32_t screen_height);
StatParams DownloadStartedParams();

struct DownloadAttempt {
  bool success = false;
  std::string error;            // the downloader's stage-prefixed error text
  int32_t attempt_number = 0;   // 1-based
  int64_t downloaded_size = 0;  // bytes in the archive file
  int64_t total_size = 0;       // expected bytes
  std::u16string url;
  std::optional<std::string> redirect_host;  // host of the last redirect target
  bool x64 = false;                          // architecture class 1
};
StatParams DownloadAttemptParams(const DownloadAttempt& attempt);
// Follows a failed attempt: error "attempt-<n>-<error text>".
StatParams DownloadErrorParams(const DownloadAttempt& attempt);
StatParams DownloadFinishedParams(int64_t download_micros);

StatParams ArchiveLockFailedParams();
StatParams VerificationFailedParams();

// The uac value: "1" or "0" for setup run in an elevated copy or here while
// UAC notifications are on, "100" while they are off.
StatParams SetupLaunchedParams(std::string_view old_ver, bool uac_notifications_enabled,
                               bool in_elevated_copy);

struct SetupExit {
  bool started = false;           // the setup program could be run
  bool in_elevated_copy = false;  // it ran in the elevated copy
  int32_t engine_result = 400;    // the engine's result code (elevated copy)
  int32_t exit_code = 0;          // the setup program's exit code (here)
};
// The error value of a setup-exited event; nothing when the key is left out.
std::optional<std::u16string> SetupExitError(const SetupExit& exit);
StatParams SetupExitedParams(std::string_view old_ver, const SetupExit& exit,
                             int64_t setup_micros);

// |send_statistics| is the tri-state choice: any non-zero value counts as on.
StatParams InstallButtonParams(bool make_default, uint8_t send_statistics);
StatParams ButtonParams(StatButton button);
StatParams LinkParams(const std::u16string& opened_url);
StatParams CheckBoxParams(StatCheckBox check_box);

}  // namespace lite

#endif  // STATS_INSTALLATION_EVENT_PARAMS_H_
