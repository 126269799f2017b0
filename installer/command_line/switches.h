// The switches the installer reads and writes, spelled once.
#ifndef INSTALLER_COMMAND_LINE_SWITCHES_H_
#define INSTALLER_COMMAND_LINE_SWITCHES_H_

namespace lite {
namespace switches {

// Read from the installer's own command line.
inline constexpr char kCheckTheInterface[] = "check-the-interface";
inline constexpr char kRunAsAdmin[] = "run-as-admin";
inline constexpr char kParentInstallerProcessId[] = "parent-installer-process-id";
inline constexpr char kSetupCmdLine[] = "setup-cmd-line";
inline constexpr char kSpawnedInProtectedDir[] = "spawned_in_protected_dir";
inline constexpr char kSilent[] = "silent";
inline constexpr char kSemiSilent[] = "semi-silent";
inline constexpr char kUacEnabled[] = "uac-enabled";
inline constexpr char kSystemLevel[] = "system-level";
inline constexpr char kProgramFilesInstallation[] = "program-files-installation";
inline constexpr char kBrandName[] = "brand-name";
inline constexpr char kMakeBrowserDefaultAfterImport[] = "make-browser-default-after-import";
inline constexpr char kSendStatistics[] = "send-statistics";
inline constexpr char kDisableTlPin[] = "disabletlpin";
inline constexpr char kDownloadX64[] = "download-x64";
inline constexpr char kDownloadX32[] = "download-x32";
inline constexpr char kDoNotLaunchBrowser[] = "do-not-launch-browser";
inline constexpr char kInstallerData[] = "installerdata";
inline constexpr char kClidsFile[] = "clids-file";
inline constexpr char kTolvarWebsiteIconFile[] = "tolvar-website-icon-file";
inline constexpr char kAbtConfigResourceFile[] = "abt-config-resource-file";
inline constexpr char kDistrInfoParams[] = "distr-info-params";
inline constexpr char kTlPinState[] = "tlpin-state";
inline constexpr char kForceDeviceScaleFactor[] = "force-device-scale-factor";
inline constexpr char kDisableErrorDialogDownloadButton[] =
    "disable-error-dialog-download-button";

// Switches of the browser's setup program that are not installations: when
// any is present the installer does not restart itself elevated.
inline constexpr const char* kNonInstallationSwitches[] = {
    "update-setup-exe",        "show-eula",
    "configure-user-settings", "register-dev-chrome",
    "register-browser-browser", "rename-browser-exe",
    "on-os-upgrade",           "fake-rename-tolvar-internet",
    "patch",                   "reenable-autoupdates",
    "simulate-crash",          "delete-old-versions",
    "set-as-default-browser",  "set-as-default-browser-dll",
    "pttw1",                   "pwattw1",
    "pttw0",
};

}  // namespace switches
}  // namespace lite

#endif  // INSTALLER_COMMAND_LINE_SWITCHES_H_
