#include "proxy/proxy_script_win.h"

#include <windows.h>
#include <winhttp.h>

#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
#include "logging/log_message.h"
#include "logging/system_error_win.h"
#include "proxy/url_origin.h"

namespace lite {
namespace {

// A dead script host must cost seconds: the script is fetched before the
// first byte of every transfer that asks.
constexpr int kScriptTimeoutMs = 5000;

struct WinHttpHandleTraits {
  static HINTERNET Invalid() { return nullptr; }
  static bool IsValid(HINTERNET h) { return h != nullptr; }
  static void Close(HINTERNET h) { WinHttpCloseHandle(h); }
};
using ScopedWinHttpHandle = ScopedGeneric<WinHttpHandleTraits>;

// Owner of a string WinHTTP allocated with GlobalAlloc.
class GlobalString {
 public:
  GlobalString() = default;
  GlobalString(const GlobalString&) = delete;
  GlobalString& operator=(const GlobalString&) = delete;
  ~GlobalString() {
    if (text_) GlobalFree(text_);
  }
  LPWSTR* receive() { return &text_; }
  std::u16string value() const { return text_ ? FromWide(text_) : std::u16string(); }

 private:
  LPWSTR text_ = nullptr;
};

}  // namespace

std::optional<ProxyChoice> RunProxyScript(const std::u16string& url,
                                          const std::u16string& script_url) {
  // The script itself is fetched directly, as Windows fetches it.
  ScopedWinHttpHandle session(WinHttpOpen(L"Tolvar.Browser lite installer",
                                          WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                          WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) {
    PLOG(WARNING) << "Cannot open a session for the proxy script";
    return std::nullopt;
  }
  WinHttpSetTimeouts(session.get(), kScriptTimeoutMs, kScriptTimeoutMs, kScriptTimeoutMs,
                     kScriptTimeoutMs);

  WINHTTP_AUTOPROXY_OPTIONS options = {};
  if (script_url.empty()) {
    options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT;
    options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
  } else {
    options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
    options.lpszAutoConfigUrl = AsWide(script_url);
  }
  // The script may sit behind the logged-on user's integrated sign-in.
  options.fAutoLogonIfChallenged = TRUE;

  WINHTTP_PROXY_INFO info = {};
  const BOOL answered = WinHttpGetProxyForUrl(session.get(), AsWide(url), &options, &info);
  const DWORD error = GetLastError();
  GlobalString servers, bypass;
  *servers.receive() = info.lpszProxy;
  *bypass.receive() = info.lpszProxyBypass;
  if (!answered) {
    LOG(WARNING) << "The proxy script "
                 << (script_url.empty() ? std::u16string(u"of auto-detection")
                                        : UrlOrigin(script_url))
                 << " gave no answer for " << UrlOrigin(url) << ": error " << error;
    return std::nullopt;
  }
  ProxyChoice choice;
  choice.source = ProxySource::kScript;
  if (info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY) {
    choice.servers = servers.value();
    choice.bypass = bypass.value();
  }
  return choice;
}

}  // namespace lite
