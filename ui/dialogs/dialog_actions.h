// What a dialog's first button does outside the installer: open a web page
// or start the installed browser. An interface, so that a test or the
// gallery can see the action instead of having it done.
#ifndef UI_DIALOGS_DIALOG_ACTIONS_H_
#define UI_DIALOGS_DIALOG_ACTIONS_H_

#include <string>

namespace lite {

class DialogActions {
 public:
  virtual ~DialogActions() = default;
  virtual void OpenUrl(const std::string& url) = 0;
  virtual void StartInstalledBrowser() = 0;
};

}  // namespace lite

#endif  // UI_DIALOGS_DIALOG_ACTIONS_H_
