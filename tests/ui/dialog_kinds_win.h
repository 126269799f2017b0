// Tells the installer's small dialogs apart as a user does, by what they
// say: the title and the first button, read from the installer's own string
// table in one language, so a changed translation does not break the tests.
#ifndef TESTS_UI_DIALOG_KINDS_WIN_H_
#define TESTS_UI_DIALOG_KINDS_WIN_H_

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>

#include "base/file_path.h"
#include "tests/ui/installer_window_win.h"

namespace lite {
namespace testing {

// The dialogs by purpose. The redesigned ones carry the numbers the window
// asks the dialog factory for; the classic ones have their own names.
enum class SeenDialog {
  kUnknown,
  kNewerVersion,          // 0
  kCorporateNewerVersion, // 3
  kCorporateUpdate,       // 4
  kOutdatedRevocation,    // 5
  kFailedDownload,        // 6
  kInterrupted,           // 7
  kX64OnX32,              // 8
  kAlreadyInstalled,      // 9
  kFolderLocked,          // 10
  kAnotherInstallation,   // 11
  kFailedLog,             // 12
  kClassicNewerVersion,
  kClassicCorporateNewerVersion,
  kClassicCorporateUpdate,
  kClassicResume,
};
const char* SeenDialogName(SeenDialog dialog);
inline void PrintTo(SeenDialog dialog, std::ostream* out) { *out << SeenDialogName(dialog); }

class InstallerStrings {
 public:
  // The string table of |installer| in |language_id| (English by default).
  explicit InstallerStrings(const FilePath& installer, uint16_t language_id = 0x0409);
  InstallerStrings(const InstallerStrings&) = delete;
  InstallerStrings& operator=(const InstallerStrings&) = delete;
  ~InstallerStrings();

  std::u16string Get(uint32_t id) const;
  SeenDialog Recognize(const InstallerDialog& dialog) const;

 private:
  HMODULE module_;
  uint16_t language_id_;
};

}  // namespace testing
}  // namespace lite

#endif  // TESTS_UI_DIALOG_KINDS_WIN_H_
