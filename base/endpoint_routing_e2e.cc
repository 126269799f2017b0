// The end-to-end build: the compiled-in hosts are served by the test server
// named in the environment. TOLVAR_LITE_STATS_ENDPOINT_BASE, when set, takes
// the statistics host elsewhere on its own, so that a test can make that one
// host unreachable or silent while the rest of the run goes on.
#include <cstdlib>

#include "base/endpoints.h"

namespace lite {
namespace {

bool IsStatisticsUrl(std::string_view url) {
  const std::string_view host = endpoints::kStats;
  return url.substr(0, host.size()) == host &&
         (url.size() == host.size() || std::string_view("/?#").find(url[host.size()]) !=
                                           std::string_view::npos);
}

}  // namespace

std::string RouteRequestUrl(std::string_view url) {
  const char* stats_base = std::getenv("TOLVAR_LITE_STATS_ENDPOINT_BASE");
  if (stats_base && *stats_base && IsStatisticsUrl(url)) {
    return endpoints::RewriteCompiledInHost(url, stats_base);
  }
  const char* base = std::getenv("TOLVAR_LITE_ENDPOINT_BASE");
  return endpoints::RewriteCompiledInHost(url, base ? base : "");
}

}  // namespace lite
