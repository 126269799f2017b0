// The system's proxy-credentials prompt as Wine shows it for a request whose
// proxy answered 407 (InternetErrorDlg): a dialog ("#32770") with the proxy
// and realm in statics 1025 and 1026, the user name and password in edits
// 1027 and 1028, a "save this password" check box 1029, OK (1) and Cancel
// (2). Found by those controls, not by its caption, which Wine translates.
#ifndef TESTS_UI_PROXY_CREDENTIALS_DIALOG_WIN_H_
#define TESTS_UI_PROXY_CREDENTIALS_DIALOG_WIN_H_

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace lite {
namespace testing {

struct ProxyCredentialsDialog {
  HWND hwnd = nullptr;
  HWND owner = nullptr;
  std::u16string caption;
  std::u16string proxy;  // "host:port" as the prompt names it
  std::u16string realm;  // the proxy's Basic realm
};

// The visible proxy-credentials prompts of process |process_id| now.
std::vector<ProxyCredentialsDialog> ProxyCredentialsDialogsOf(DWORD process_id);

// Types |user| and |password| into |dialog| and presses OK, leaving the
// password unsaved; false when a control did not take its text.
bool AnswerProxyCredentialsDialog(const ProxyCredentialsDialog& dialog,
                                  const std::u16string& user, const std::u16string& password);
// Presses Cancel.
bool CancelProxyCredentialsDialog(const ProxyCredentialsDialog& dialog);

// The screen rectangle holding both |dialog| and the window it sits over.
RECT DialogWithOwnerRect(const ProxyCredentialsDialog& dialog);

}  // namespace testing
}  // namespace lite

#endif  // TESTS_UI_PROXY_CREDENTIALS_DIALOG_WIN_H_
