// Which proxy, if any, a request to one URL goes through.
#ifndef PROXY_PROXY_CHOICE_H_
#define PROXY_PROXY_CHOICE_H_

#include <string>

namespace lite {

// Where the choice came from, for the log.
enum class ProxySource {
  kDirect,  // the settings name no proxy
  kManual,  // "ProxyServer" of the user's Internet settings
  kScript,  // the answer of a proxy auto-config script
};

struct ProxyChoice {
  // A proxy list as WinINet's and WinHTTP's named-proxy modes take it
  // ("host:port", or "http=host:port;https=host:port"); empty means direct.
  std::u16string servers;
  // The names that bypass the proxy, as "ProxyOverride" holds them.
  std::u16string bypass;
  ProxySource source = ProxySource::kDirect;

  bool direct() const { return servers.empty(); }
};

}  // namespace lite

#endif  // PROXY_PROXY_CHOICE_H_
