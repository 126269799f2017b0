// The stage-prefixed error text a failed transfer leaves, told apart for the
// failures of the proxy the transfer goes through.
#ifndef NET_TRANSFER_FAILURE_TEXT_H_
#define NET_TRANSFER_FAILURE_TEXT_H_

#include <cstdint>
#include <string>

namespace lite {

struct TransferFailure {
  enum class Stage {
    kOpenUrl,      // the URL could not be opened (no answer at all)
    kFinalStatus,  // the answer's status is not the one asked for
  };
  Stage stage = Stage::kOpenUrl;
  // The transfer goes through a proxy. Direct transfers keep the plain texts.
  bool through_proxy = false;
  // An https request through the proxy that was answered without a TLS
  // connection: the answer is the proxy's to the tunnel request (CONNECT).
  bool answered_by_tunnel_request = false;
  // The answer carries a Proxy-Status header: the proxy made it itself.
  bool proxy_status_header = false;
  uint32_t http_status = 0;  // kFinalStatus; 0 when unreadable
  uint32_t error = 0;        // the Windows error at the failure
};

// "internet_open_url-ERROR" or "final_query_info-STATUS-ERROR"; through a
// proxy: "proxy_connect-ERROR" (the proxy cannot be reached),
// "proxy_auth-407-ERROR" (it wants credentials and took none),
// "proxy_refused-403-ERROR" (it refused the tunnel or said it refused the
// request) and "proxy_tunnel-STATUS-ERROR" (the tunnel failed otherwise).
std::string TransferFailureText(const TransferFailure& failure);

}  // namespace lite

#endif  // NET_TRANSFER_FAILURE_TEXT_H_
