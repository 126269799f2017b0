// Owner of a WinINet handle (session, connection or request).
#ifndef STATS_SCOPED_INTERNET_HANDLE_WIN_H_
#define STATS_SCOPED_INTERNET_HANDLE_WIN_H_

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

#endif  // STATS_SCOPED_INTERNET_HANDLE_WIN_H_
