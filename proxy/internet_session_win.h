// A WinINet session that sends its requests where the user's Internet
// settings say: through the proxy they choose for the URL, or direct.
#ifndef PROXY_INTERNET_SESSION_WIN_H_
#define PROXY_INTERNET_SESSION_WIN_H_

#include <windows.h>
#include <wininet.h>

#include <string>

#include "base/scoped_internet_handle_win.h"
#include "proxy/proxy_choice.h"

namespace lite {

struct InternetSession {
  ScopedInternetHandle handle;  // invalid when InternetOpenW failed
  ProxyChoice choice;           // what the settings chose for the URL
  // "host:port" of the proxy the URL's request reaches; empty when it goes
  // direct (a direct choice, or a host on the bypass list).
  std::u16string proxy;
  DWORD open_error = ERROR_SUCCESS;  // InternetOpenW's error without a session

  bool through_proxy() const { return !proxy.empty(); }
};

// Opens a session with |user_agent| for requests to |url| (the URL that is
// opened, after routing).
InternetSession OpenInternetSession(const wchar_t* user_agent, const std::u16string& url);
// The same with the settings' |choice| for |url| made already, by a caller
// that keeps its choices (choosing reads the settings each time: some
// milliseconds that a statistics request must not spend).
InternetSession OpenInternetSession(const wchar_t* user_agent, const std::u16string& url,
                                    const ProxyChoice& choice);

}  // namespace lite

#endif  // PROXY_INTERNET_SESSION_WIN_H_
