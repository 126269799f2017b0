// Switches the installer writes on the browser's setup program's command
// line, beyond those it passes on from its own (installer/switches.h).
#ifndef INSTALLER_SETUP_SETUP_SWITCHES_H_
#define INSTALLER_SETUP_SETUP_SWITCHES_H_

namespace lite {
namespace setup_switches {

inline constexpr char kDisableUac[] = "disable-uac";
inline constexpr char kProgressWindow[] = "progress-window";
inline constexpr char kVerboseLogging[] = "verbose-logging";
inline constexpr char kDistrInfoFile[] = "distr-info-file";
inline constexpr char kOkButtonPressedTime[] = "ok-button-pressed-time";
inline constexpr char kInstallStartTimeNoUac[] = "install-start-time-no-uac";
inline constexpr char kTheInterfaceAvailability[] = "the-interface-availability";
inline constexpr char kBrandPackage[] = "brand-package";
inline constexpr char kPartnerPackage[] = "partner-package";
inline constexpr char kOverridePartnerPackage[] = "override-partner-package";
inline constexpr char kShowUacAtBrowserStart[] = "show-uac-at-browser-start";
inline constexpr char kUseTaskScheduler2[] = "use-task-scheduler2";
inline constexpr char kBrowserPresent[] = "browser-present";
inline constexpr char kInstallerBrandId[] = "installer-brand-id";
inline constexpr char kInstallerPartnerId[] = "installer-partner-id";
inline constexpr char kTestIds[] = "testids";
inline constexpr char kHistogramDownloadTime[] = "histogram-download-time";
inline constexpr char kSource[] = "source";

}  // namespace setup_switches
}  // namespace lite

#endif  // INSTALLER_SETUP_SETUP_SWITCHES_H_
