// Ids of the child controls in the installer's dialog templates.
#ifndef UI_CONTROLS_CONTROL_IDS_H_
#define UI_CONTROLS_CONTROL_IDS_H_

namespace lite {

inline constexpr int kInstallButtonId = 1;      // also button 1 of every dialog
inline constexpr int kTitleId = 107;
inline constexpr int kDefaultCheckBoxId = 109;
inline constexpr int kStatisticsCheckBoxId = 110;
inline constexpr int kPinCheckBoxId = 112;
inline constexpr int kCancelButtonId = 212;     // also button 2 of the dialogs
inline constexpr int kCloseButtonId = 213;
inline constexpr int kMinimizeButtonId = 214;
inline constexpr int kProgressBarId = 215;
inline constexpr int kPrivacyLinkId = 218;
inline constexpr int kLicencePlainId = 222;
inline constexpr int kLicenceLinkId = 223;
inline constexpr int kProgressTextId = 224;
inline constexpr int kProgressLicencePlainId = 913;
inline constexpr int kProgressLicenceLinkId = 914;

}  // namespace lite

#endif  // UI_CONTROLS_CONTROL_IDS_H_
