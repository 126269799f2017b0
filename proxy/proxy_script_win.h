// Runs the user's proxy auto-config script (or WPAD's) for a URL through
// WinHTTP's auto-proxy support, which both Windows and Wine have.
#ifndef PROXY_PROXY_SCRIPT_WIN_H_
#define PROXY_PROXY_SCRIPT_WIN_H_

#include <optional>
#include <string>

#include "proxy/proxy_choice.h"

namespace lite {

// The script's answer for |url|: the script at |script_url| when it is not
// empty, else the one auto-detection finds. nullopt (and a log line) when no
// script could be fetched or run. Each phase is bounded in time.
std::optional<ProxyChoice> RunProxyScript(const std::u16string& url,
                                          const std::u16string& script_url);

}  // namespace lite

#endif  // PROXY_PROXY_SCRIPT_WIN_H_
