#include "proxy/internet_session_win.h"

#include "base/wide_string_win.h"
#include "proxy/proxy_resolver_win.h"
#include "proxy/proxy_server_for_url.h"

namespace lite {

InternetSession OpenInternetSession(const wchar_t* user_agent, const std::u16string& url) {
  InternetSession session;
  session.choice = ChooseProxyForUrl(url);
  session.proxy = ProxyServerForUrl(session.choice, url);
  if (session.choice.direct()) {
    session.handle.reset(InternetOpenW(user_agent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  } else {
    // The whole list and its bypass list, not only the proxy of this URL:
    // a redirect to another host is sent where the settings say for it.
    const wchar_t* bypass = session.choice.bypass.empty() ? nullptr : AsWide(session.choice.bypass);
    session.handle.reset(InternetOpenW(user_agent, INTERNET_OPEN_TYPE_PROXY,
                                       AsWide(session.choice.servers), bypass, 0));
  }
  if (!session.handle) session.open_error = GetLastError();
  return session;
}

}  // namespace lite
