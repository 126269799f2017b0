#include "net/transfer_failure_text.h"

#include "gtest/gtest.h"

namespace lite {
namespace {

using Stage = TransferFailure::Stage;

TEST(TransferFailureTextTest, TellsTheProxysFailuresApartOnlyThroughAProxy) {
  struct Case {
    Stage stage;
    bool through_proxy;
    bool tunnel;
    bool proxy_status;
    uint32_t status;
    uint32_t error;
    const char* want;
  };
  const Case cases[] = {
      // Direct transfers keep the plain texts, whatever they meet.
      {Stage::kOpenUrl, false, false, false, 0, 12029, "internet_open_url-12029"},
      {Stage::kOpenUrl, false, false, false, 0, 12007, "internet_open_url-12007"},
      {Stage::kFinalStatus, false, false, false, 404, 0, "final_query_info-404-0"},
      {Stage::kFinalStatus, false, false, false, 407, 0, "final_query_info-407-0"},
      {Stage::kFinalStatus, false, false, true, 403, 0, "final_query_info-403-0"},
      // The proxy cannot be reached; other open failures keep their stage.
      {Stage::kOpenUrl, true, false, false, 0, 12029, "proxy_connect-12029"},
      {Stage::kOpenUrl, true, false, false, 0, 12007, "proxy_connect-12007"},
      {Stage::kOpenUrl, true, false, false, 0, 12002, "internet_open_url-12002"},
      {Stage::kOpenUrl, true, true, false, 0, 12030, "internet_open_url-12030"},
      // Credentials wanted and none taken; a cancelled prompt says so.
      {Stage::kFinalStatus, true, false, false, 407, 0, "proxy_auth-407-0"},
      {Stage::kFinalStatus, true, false, false, 407, 1223, "proxy_auth-407-1223"},
      {Stage::kFinalStatus, true, true, false, 407, 0, "proxy_auth-407-0"},
      // Refused: a tunnel's 403, or a 403 the proxy marks as its own.
      {Stage::kFinalStatus, true, true, false, 403, 0, "proxy_refused-403-0"},
      {Stage::kFinalStatus, true, false, true, 403, 0, "proxy_refused-403-0"},
      // The origin's own 403, passed on by the proxy.
      {Stage::kFinalStatus, true, false, false, 403, 0, "final_query_info-403-0"},
      // A tunnel that failed otherwise.
      {Stage::kFinalStatus, true, true, false, 502, 0, "proxy_tunnel-502-0"},
      {Stage::kFinalStatus, true, true, true, 503, 0, "proxy_tunnel-503-0"},
      // Plain requests: the proxy's 502 for a dead origin, the origin's 404.
      {Stage::kFinalStatus, true, false, false, 502, 0, "final_query_info-502-0"},
      {Stage::kFinalStatus, true, false, true, 404, 0, "final_query_info-404-0"},
      {Stage::kFinalStatus, true, false, false, 0, 12150, "final_query_info-0-12150"},
  };
  for (const Case& c : cases) {
    TransferFailure failure;
    failure.stage = c.stage;
    failure.through_proxy = c.through_proxy;
    failure.answered_by_tunnel_request = c.tunnel;
    failure.proxy_status_header = c.proxy_status;
    failure.http_status = c.status;
    failure.error = c.error;
    EXPECT_EQ(TransferFailureText(failure), c.want);
  }
}

}  // namespace
}  // namespace lite
