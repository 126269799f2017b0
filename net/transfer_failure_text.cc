#include "net/transfer_failure_text.h"

namespace lite {
namespace {

// WinINet's errors for a server it cannot reach. Through a proxy the only
// server WinINet connects to is the proxy. A time-out is left out: a proxy
// that took the connection and waits on its own upstream times out alike.
constexpr uint32_t kNameNotResolved = 12007;
constexpr uint32_t kCannotConnect = 12029;

constexpr uint32_t kProxyAuthenticationRequired = 407;
constexpr uint32_t kForbidden = 403;
constexpr uint32_t kOk = 200;

std::string Status(const char* stage, uint32_t status, uint32_t error) {
  return std::string(stage) + std::to_string(status) + "-" + std::to_string(error);
}

}  // namespace

std::string TransferFailureText(const TransferFailure& failure) {
  const uint32_t status = failure.http_status;
  if (failure.stage == TransferFailure::Stage::kOpenUrl) {
    if (failure.through_proxy &&
        (failure.error == kCannotConnect || failure.error == kNameNotResolved)) {
      return "proxy_connect-" + std::to_string(failure.error);
    }
    return "internet_open_url-" + std::to_string(failure.error);
  }
  if (failure.through_proxy) {
    // Only a proxy answers 407, to a plain request or to a tunnel request.
    if (status == kProxyAuthenticationRequired) return Status("proxy_auth-", status, failure.error);
    if (status == kForbidden &&
        (failure.answered_by_tunnel_request || failure.proxy_status_header)) {
      return Status("proxy_refused-", status, failure.error);
    }
    if (failure.answered_by_tunnel_request && status != kOk) {
      return Status("proxy_tunnel-", status, failure.error);
    }
  }
  return Status("final_query_info-", status, failure.error);
}

}  // namespace lite
