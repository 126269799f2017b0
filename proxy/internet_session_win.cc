#include "proxy/internet_session_win.h"

#include "base/wide_string_win.h"
#include "proxy/proxy_resolver_win.h"
#include "proxy/proxy_server_for_url.h"

namespace lite {

InternetSession OpenInternetSession(const wchar_t* user_agent, const std::u16string& url) {
  return OpenInternetSession(user_agent, url, ChooseProxyForUrl(url));
}

InternetSession OpenInternetSession(const wchar_t* user_agent, const std::u16string& url,
                                    const ProxyChoice& choice) {
  InternetSession session;
  session.choice = choice;
  session.proxy = ProxyServerForUrl(session.choice, url);
  // A script's answer that this URL bypasses (a loopback host) has no bypass
  // list of its own for WinINet to apply: Wine's would send the request to
  // the proxy anyway, where nothing answers its 407.
  const bool bypassed_script_answer =
      session.choice.source == ProxySource::kScript && session.proxy.empty();
  if (session.choice.direct() || bypassed_script_answer) {
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
