// The origin of a URL ("scheme://host:port", no user information, path or
// query): what a proxy choice is kept under and what the log may name.
#ifndef PROXY_URL_ORIGIN_H_
#define PROXY_URL_ORIGIN_H_

#include <string>
#include <string_view>

namespace lite {

// Lower-case scheme and host, the port as written; empty when |url| has no
// "scheme://".
std::u16string UrlOrigin(std::u16string_view url);

}  // namespace lite

#endif  // PROXY_URL_ORIGIN_H_
