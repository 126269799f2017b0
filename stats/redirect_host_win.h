#ifndef STATS_REDIRECT_HOST_WIN_H_
#define STATS_REDIRECT_HOST_WIN_H_

#include <optional>
#include <string>

namespace lite {

// The host name of |url| as WinINet reads it (canonicalised in browser mode,
// then cracked with decoding); nothing when either step fails or there is
// no host.
std::optional<std::string> RedirectHostName(const std::u16string& url);

}  // namespace lite

#endif  // STATS_REDIRECT_HOST_WIN_H_
