// The registered messages through which a setup program tells the installer
// window that it will not install: a newer browser is already there, or the
// corporate edition asks the user before it replaces an installation.
#ifndef TOOLS_FAKE_SETUP_NOTICE_MESSAGES_WIN_H_
#define TOOLS_FAKE_SETUP_NOTICE_MESSAGES_WIN_H_

#include <windows.h>

#include <optional>

namespace lite {

inline constexpr wchar_t kHigherVersionExistMessage[] = L"tolvar.higher_version_exist";
inline constexpr wchar_t kCorporateHigherVersionExistMessage[] =
    L"tolvar.corp.user_higher_version_exist";
inline constexpr wchar_t kCorporateBrowserExistsMessage[] = L"tolvar.corp.user_browser_exists";

// Posts the registered message |name|; false when the post failed.
bool PostNotice(HWND window, const wchar_t* name);

// Sends the corporate-update question and waits while the user answers
// (up to |timeout_ms|): the message result, 1 to go on and 0 when declined;
// nullopt when the window gave no answer.
std::optional<LRESULT> AskCorporateUpdate(HWND window, UINT timeout_ms);

}  // namespace lite

#endif  // TOOLS_FAKE_SETUP_NOTICE_MESSAGES_WIN_H_
