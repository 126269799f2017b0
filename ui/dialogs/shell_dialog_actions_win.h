// The dialogs' actions as the installer does them: pages open in the
// user's default browser, and the installed browser starts from its
// application directory.
#ifndef UI_DIALOGS_SHELL_DIALOG_ACTIONS_WIN_H_
#define UI_DIALOGS_SHELL_DIALOG_ACTIONS_WIN_H_

#include <functional>

#include "base/file_path.h"
#include "ui/dialogs/dialog_actions.h"
#include "ui/dialogs/url_open_policy.h"

namespace lite {

class ShellDialogActions : public DialogActions {
 public:
  using DirectoryQuery = std::function<FilePath()>;

  // |application_dir| tells where the installed browser lies when it is to
  // be started; the installation may change while a dialog is up, so it is
  // asked then. By default the installation the registry records.
  // |policy| tells which addresses may be opened; by default the product's
  // own sites.
  explicit ShellDialogActions(DirectoryQuery application_dir,
                              UrlOpenPolicy policy = ConfiguredUrlOpenPolicy("", ""));
  explicit ShellDialogActions(UrlOpenPolicy policy);
  ShellDialogActions();

  // ShellExecuteW "open", SW_SHOW, when |policy| allows |url|; a refused
  // address is logged and not opened.
  void OpenUrl(const std::string& url) override;
  // browser.exe of the application directory as a new process.
  void StartInstalledBrowser() override;

 private:
  const DirectoryQuery application_dir_;
  const UrlOpenPolicy policy_;
};

}  // namespace lite

#endif  // UI_DIALOGS_SHELL_DIALOG_ACTIONS_WIN_H_
