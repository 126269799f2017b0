// Owner of a WinINet handle (session, connection or request). Whoever uses
// it links wininet, which is delay-loaded like every system DLL.
#ifndef BASE_SCOPED_INTERNET_HANDLE_WIN_H_
#define BASE_SCOPED_INTERNET_HANDLE_WIN_H_

#include <windows.h>
#include <wininet.h>

#include "base/scoped_handle_win.h"

namespace lite {

struct InternetHandleTraits {
  static HINTERNET Invalid() { return nullptr; }
  static bool IsValid(HINTERNET h) { return h != nullptr; }
  static void Close(HINTERNET h) { InternetCloseHandle(h); }
};
using ScopedInternetHandle = ScopedGeneric<InternetHandleTraits>;

}  // namespace lite

#endif  // BASE_SCOPED_INTERNET_HANDLE_WIN_H_
