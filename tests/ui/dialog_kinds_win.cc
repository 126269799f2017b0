#include "tests/ui/dialog_kinds_win.h"

#include <algorithm>

#include "base/string_table_win.h"
#include "base/wide_string_win.h"

namespace lite {
namespace testing {
namespace {

// Title and first-button string ids of each dialog; no two share both.
struct DialogTexts {
  SeenDialog dialog;
  const char* name;
  uint32_t title_id;
  uint32_t button1_id;
};

constexpr DialogTexts kDialogs[] = {
    {SeenDialog::kNewerVersion, "newer version (0)", 456, 501},
    {SeenDialog::kCorporateNewerVersion, "corporate newer version (3)", 499, 501},
    {SeenDialog::kCorporateUpdate, "corporate update (4)", 493, 509},
    {SeenDialog::kOutdatedRevocation, "outdated revocation provider (5)", 442, 501},
    {SeenDialog::kFailedDownload, "installation failed, download (6)", 433, 508},
    {SeenDialog::kInterrupted, "installation interrupted (7)", 422, 503},
    {SeenDialog::kX64OnX32, "x64 on x32 (8)", 445, 505},
    {SeenDialog::kAlreadyInstalled, "already installed (9)", 448, 506},
    {SeenDialog::kFolderLocked, "folder locked (10)", 450, 507},
    {SeenDialog::kAnotherInstallation, "another installation (11)", 438, 507},
    {SeenDialog::kFailedLog, "installation failed, log (12)", 435, 507},
    {SeenDialog::kClassicNewerVersion, "classic newer version", 454, 461},
    {SeenDialog::kClassicCorporateNewerVersion, "classic corporate newer version", 497, 461},
    {SeenDialog::kClassicCorporateUpdate, "classic corporate update", 491, 495},
    {SeenDialog::kClassicResume, "classic resume", 419, 420},
};

// Dialogs may show a line break as "\r\n" where the string table has "\n".
std::u16string WithoutCarriageReturns(std::u16string text) {
  text.erase(std::remove(text.begin(), text.end(), u'\r'), text.end());
  return text;
}

}  // namespace

const char* SeenDialogName(SeenDialog dialog) {
  for (const DialogTexts& texts : kDialogs) {
    if (texts.dialog == dialog) return texts.name;
  }
  return "unknown dialog";
}

InstallerStrings::InstallerStrings(const FilePath& installer, uint16_t language_id)
    : module_(LoadLibraryExW(AsWide(installer.value()), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)),
      language_id_(language_id) {}

InstallerStrings::~InstallerStrings() {
  if (module_) FreeLibrary(module_);
}

std::u16string InstallerStrings::Get(uint32_t id) const {
  return module_ ? LoadStringInLanguage(module_, language_id_, id) : std::u16string();
}

SeenDialog InstallerStrings::Recognize(const InstallerDialog& dialog) const {
  for (const DialogTexts& texts : kDialogs) {
    if (WithoutCarriageReturns(dialog.title) == WithoutCarriageReturns(Get(texts.title_id)) &&
        dialog.button1 == Get(texts.button1_id)) {
      return texts.dialog;
    }
  }
  return SeenDialog::kUnknown;
}

}  // namespace testing
}  // namespace lite
