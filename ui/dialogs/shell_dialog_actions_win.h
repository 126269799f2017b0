// The dialogs' actions as the installer does them: pages open in the
// user's default browser, and the installed browser starts from its
// application directory.
#ifndef UI_DIALOGS_SHELL_DIALOG_ACTIONS_WIN_H_
#define UI_DIALOGS_SHELL_DIALOG_ACTIONS_WIN_H_

#include "base/file_path.h"
#include "ui/dialogs/dialog_actions.h"

namespace lite {

class ShellDialogActions : public DialogActions {
 public:
  // |browser_dir| is the browser's application directory; empty while it is
  // not known.
  explicit ShellDialogActions(FilePath browser_dir);

  // ShellExecuteA "open", SW_SHOW.
  void OpenUrl(const std::string& url) override;
  // browser.exe of the application directory as a new process.
  void StartInstalledBrowser() override;

 private:
  const FilePath browser_dir_;
};

}  // namespace lite

#endif  // UI_DIALOGS_SHELL_DIALOG_ACTIONS_WIN_H_
