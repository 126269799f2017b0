#include "ui/dialogs/dialog_kind.h"

namespace lite {
namespace {

struct KindRow {
  DialogKind kind;
  RedesignedDialogSpec spec;
};

constexpr ButtonPicture kGrey = ButtonPicture::kGrey;
constexpr ButtonPicture kAccent = ButtonPicture::kAccent;

constexpr KindRow kKinds[] = {
    {DialogKind::kNewerVersionInstalled, {456, 457, 501, 0, kGrey, DialogAction::kNone, false}},
    {DialogKind::kCorporateNewerVersion, {499, 500, 501, 0, kGrey, DialogAction::kNone, false}},
    {DialogKind::kCorporateUpdate, {493, 494, 509, 510, kAccent, DialogAction::kNone, false}},
    {DialogKind::kOutdatedRevocationProvider,
     {442, 443, 501, 0, kGrey, DialogAction::kNone, false}},
    {DialogKind::kInstallFailedDownload,
     {433, 453, 508, 504, kAccent, DialogAction::kOpenLandingPage, false}},
    {DialogKind::kInstallInterrupted, {422, 423, 503, 504, kAccent, DialogAction::kNone, false}},
    {DialogKind::kX64OnX32, {445, 446, 505, 0, kAccent, DialogAction::kOpenBrowserSite, false}},
    {DialogKind::kAlreadyInstalled, {448, 0, 506, 0, kAccent, DialogAction::kStartBrowser, false}},
    {DialogKind::kFolderLocked, {450, 451, 507, 0, kAccent, DialogAction::kOpenFeedbackPage, false}},
    {DialogKind::kAnotherInstallation,
     {438, 439, 507, 0, kAccent, DialogAction::kOpenFeedbackPage, false}},
    {DialogKind::kInstallFailedLog,
     {435, 436, 507, 0, kAccent, DialogAction::kOpenFeedbackPage, true}},
};

struct ClassicRow {
  ClassicDialogVariant variant;
  ClassicDialogSpec spec;
};

constexpr ClassicRow kClassicVariants[] = {
    {ClassicDialogVariant::kNewerVersionInstalled, {454, 455, 461, 0, false}},
    {ClassicDialogVariant::kCorporateNewerVersion, {497, 498, 461, 0, false}},
    {ClassicDialogVariant::kCorporateUpdate, {491, 492, 495, 496, false}},
    {ClassicDialogVariant::kNotEnoughDiskSpace, {471, 472, 461, 0, false}},
    {ClassicDialogVariant::kResume, {419, 0, 420, 421, true}},
};

}  // namespace

const RedesignedDialogSpec& GetDialogSpec(DialogKind kind) {
  for (const KindRow& row : kKinds) {
    if (row.kind == kind) return row.spec;
  }
  return kKinds[0].spec;  // unreachable for the enumeration's values
}

const ClassicDialogSpec& GetClassicDialogSpec(ClassicDialogVariant variant) {
  for (const ClassicRow& row : kClassicVariants) {
    if (row.variant == variant) return row.spec;
  }
  return kClassicVariants[0].spec;
}

std::optional<DialogKind> DialogKindFromNumber(int number) {
  for (const KindRow& row : kKinds) {
    if (static_cast<int>(row.kind) == number) return row.kind;
  }
  return std::nullopt;
}

std::optional<ClassicDialogVariant> ClassicNoticeVariant(DialogKind kind) {
  switch (kind) {
    case DialogKind::kNewerVersionInstalled:
      return ClassicDialogVariant::kNewerVersionInstalled;
    case DialogKind::kCorporateNewerVersion:
      return ClassicDialogVariant::kCorporateNewerVersion;
    case DialogKind::kCorporateUpdate:
      return ClassicDialogVariant::kCorporateUpdate;
    default:
      return std::nullopt;
  }
}

std::optional<DialogKind> DialogKindForError(int error_code, bool download_button_disabled) {
  switch (error_code) {
    case 0:
      return std::nullopt;
    case 3:
      return DialogKind::kOutdatedRevocationProvider;
    case 4:
      return DialogKind::kX64OnX32;
    case 5:
      return DialogKind::kFolderLocked;
    case 6:
      return DialogKind::kAlreadyInstalled;
    case 7:
      return DialogKind::kAnotherInstallation;
    default:
      return download_button_disabled ? DialogKind::kInstallFailedLog
                                      : DialogKind::kInstallFailedDownload;
  }
}

}  // namespace lite
