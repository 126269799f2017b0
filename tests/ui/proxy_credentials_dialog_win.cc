#include "tests/ui/proxy_credentials_dialog_win.h"

#include "base/wide_string_win.h"
#include "tests/ui/installer_window_win.h"

namespace lite {
namespace testing {
namespace {

constexpr int kProxyStatic = 1025;
constexpr int kRealmStatic = 1026;
constexpr int kUserEdit = 1027;
constexpr int kPasswordEdit = 1028;
constexpr int kSavePasswordBox = 1029;

bool IsClass(HWND window, const wchar_t* name) {
  wchar_t found[32] = {};
  GetClassNameW(window, found, ARRAYSIZE(found));
  return lstrcmpiW(found, name) == 0;
}

bool IsProxyCredentialsDialog(HWND dialog) {
  const HWND user = GetDlgItem(dialog, kUserEdit);
  const HWND password = GetDlgItem(dialog, kPasswordEdit);
  return user && password && IsClass(user, L"Edit") && IsClass(password, L"Edit") &&
         (GetWindowLongW(password, GWL_STYLE) & ES_PASSWORD) && GetDlgItem(dialog, IDOK) &&
         GetDlgItem(dialog, IDCANCEL);
}

bool SetText(HWND control, const std::u16string& text) {
  DWORD_PTR result = 0;
  return control &&
         SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(AsWide(text)),
                             SMTO_NORMAL, kAnswerTimeoutMs, &result) &&
         result == TRUE;
}

}  // namespace

std::vector<ProxyCredentialsDialog> ProxyCredentialsDialogsOf(DWORD process_id) {
  std::vector<ProxyCredentialsDialog> found;
  for (HWND dialog : VisibleDialogsOf(process_id)) {
    if (!IsProxyCredentialsDialog(dialog)) continue;
    ProxyCredentialsDialog prompt;
    prompt.hwnd = dialog;
    prompt.owner = GetWindow(dialog, GW_OWNER);
    prompt.caption = WindowText(dialog);
    prompt.proxy = WindowText(GetDlgItem(dialog, kProxyStatic));
    prompt.realm = WindowText(GetDlgItem(dialog, kRealmStatic));
    found.push_back(prompt);
  }
  return found;
}

bool AnswerProxyCredentialsDialog(const ProxyCredentialsDialog& dialog,
                                  const std::u16string& user, const std::u16string& password) {
  if (!SetText(GetDlgItem(dialog.hwnd, kUserEdit), user) ||
      !SetText(GetDlgItem(dialog.hwnd, kPasswordEdit), password)) {
    return false;
  }
  // Saved, the password would answer the next run's prompt by itself.
  if (const HWND save = GetDlgItem(dialog.hwnd, kSavePasswordBox)) {
    DWORD_PTR state = 0;
    if (SendMessageTimeoutW(save, BM_GETCHECK, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &state) &&
        state == BST_CHECKED) {
      PostMessageW(save, BM_CLICK, 0, 0);
    }
  }
  if (WindowText(GetDlgItem(dialog.hwnd, kUserEdit)) != user) return false;
  return PostMessageW(GetDlgItem(dialog.hwnd, IDOK), BM_CLICK, 0, 0) != FALSE;
}

bool CancelProxyCredentialsDialog(const ProxyCredentialsDialog& dialog) {
  return PostMessageW(GetDlgItem(dialog.hwnd, IDCANCEL), BM_CLICK, 0, 0) != FALSE;
}

RECT DialogWithOwnerRect(const ProxyCredentialsDialog& dialog) {
  RECT rect = {};
  GetWindowRect(dialog.hwnd, &rect);
  RECT owner = {};
  if (dialog.owner && GetWindowRect(dialog.owner, &owner)) UnionRect(&rect, &rect, &owner);
  return rect;
}

}  // namespace testing
}  // namespace lite
