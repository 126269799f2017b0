// The proxy the current user's Internet settings choose for a URL, the same
// for every transport: WinINet has no script support of its own under every
// Windows we run on, and WinHTTP's default is not the user's settings at all.
#ifndef PROXY_PROXY_RESOLVER_WIN_H_
#define PROXY_PROXY_RESOLVER_WIN_H_

#include <string>

#include "proxy/proxy_choice.h"

namespace lite {

// The settings' choice for |url|: the auto-config script's answer when the
// settings name a script (or ask for auto-detection) and it runs; otherwise
// the manual proxy when it is enabled; otherwise direct. Script fetches are
// bounded in time, so a dead script host costs seconds, not minutes.
ProxyChoice ChooseProxyForUrl(const std::u16string& url);

}  // namespace lite

#endif  // PROXY_PROXY_RESOLVER_WIN_H_
