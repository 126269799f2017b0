#include "tools/fake_setup/notice_messages_win.h"

namespace lite {

bool PostNotice(HWND window, const wchar_t* name) {
  const UINT message = RegisterWindowMessageW(name);
  return message != 0 && PostMessageW(window, message, 0, 0);
}

std::optional<LRESULT> AskCorporateUpdate(HWND window, UINT timeout_ms) {
  const UINT message = RegisterWindowMessageW(kCorporateBrowserExistsMessage);
  DWORD_PTR answer = 0;
  if (message == 0 ||
      !SendMessageTimeoutW(window, message, 0, 0, SMTO_NORMAL, timeout_ms, &answer)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(answer);
}

}  // namespace lite
