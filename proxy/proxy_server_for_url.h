// Which one proxy of a proxy choice a request to a URL reaches, as WinINet
// reads a proxy list and its bypass list: the name the proxy's credentials
// are stored under and the log names.
#ifndef PROXY_PROXY_SERVER_FOR_URL_H_
#define PROXY_PROXY_SERVER_FOR_URL_H_

#include <string>
#include <string_view>

#include "proxy/proxy_choice.h"

namespace lite {

// "host:port" (or "host" when the list gives no port) of the proxy that
// |choice| gives a request to |url|; empty when the request goes direct: the
// choice is direct, the list has no entry for the URL's scheme, or the URL's
// host is on the bypass list. A list is "host:port" entries, each optionally
// "scheme=" prefixed, separated by ";" or white space; the first entry for
// the URL's scheme wins, else the first without a scheme. Loopback hosts
// bypass the proxy unless the bypass list holds "<-loopback>", as on Windows.
std::u16string ProxyServerForUrl(const ProxyChoice& choice, std::u16string_view url);

// Whether |host| (no port, no brackets) is on |bypass|: "*" wildcards, any
// letter case, "<local>" for names without a dot.
bool IsProxyBypassed(std::u16string_view bypass, std::u16string_view host);

}  // namespace lite

#endif  // PROXY_PROXY_SERVER_FOR_URL_H_
