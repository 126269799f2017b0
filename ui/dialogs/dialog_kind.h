// What each dialog says and does: the redesigned dialog kinds and the
// classic variants as data, and which dialog follows an engine error.
#ifndef UI_DIALOGS_DIALOG_KIND_H_
#define UI_DIALOGS_DIALOG_KIND_H_

#include <optional>

namespace lite {

// Redesigned dialogs; the numbers are the kinds callers ask for.
enum class DialogKind {
  kNewerVersionInstalled = 0,
  kCorporateNewerVersion = 3,
  kCorporateUpdate = 4,
  kOutdatedRevocationProvider = 5,
  kInstallFailedDownload = 6,
  kInstallInterrupted = 7,
  kX64OnX32 = 8,
  kAlreadyInstalled = 9,
  kFolderLocked = 10,
  kAnotherInstallation = 11,
  kInstallFailedLog = 12,
};

// Classic (pre-redesign) dialogs.
enum class ClassicDialogVariant {
  kNewerVersionInstalled,  // notice kind 0
  kCorporateNewerVersion,  // notice kind 3
  kCorporateUpdate,        // notice kind 4
  kNotEnoughDiskSpace,
  kResume,  // the interrupt question
};

// What the first button does before the dialog ends with 1.
enum class DialogAction {
  kNone,
  kOpenLandingPage,  // the full installer's download page
  kOpenBrowserSite,
  kStartBrowser,
  kOpenFeedbackPage,
};

enum class ButtonPicture { kGrey, kAccent };

// String ids; 0 = no such text.
struct RedesignedDialogSpec {
  int title_id;
  int message_id;
  int button1_id;
  int button2_id;
  ButtonPicture button1_picture;
  DialogAction action;
  bool append_log_path;  // the message ends with a line break and the log file's path
};

struct ClassicDialogSpec {
  int title_id;
  int message_id;
  int button1_id;
  int button2_id;  // the button with id 212
  bool buttons_right_aligned;
};

// Results a dialog ends with.
inline constexpr int kDialogResultButton1 = 1;
inline constexpr int kDialogResultButton2 = 212;
inline constexpr int kDialogResultClose = 213;

const RedesignedDialogSpec& GetDialogSpec(DialogKind kind);
const ClassicDialogSpec& GetClassicDialogSpec(ClassicDialogVariant variant);

// The kinds a caller may ask for by number; nothing for any other number.
std::optional<DialogKind> DialogKindFromNumber(int number);

// The notice kinds 0, 3 and 4 in the classic style; nothing for other kinds.
std::optional<ClassicDialogVariant> ClassicNoticeVariant(DialogKind kind);

// The dialog that reports engine error |error_code|: none for 0; the
// generic failure (kind 12 when the download button is disabled, else 6)
// for 1, 2 and any code without a dialog of its own.
std::optional<DialogKind> DialogKindForError(int error_code, bool download_button_disabled);

}  // namespace lite

#endif  // UI_DIALOGS_DIALOG_KIND_H_
