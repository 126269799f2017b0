// The end-to-end build: the compiled-in hosts are served by the test server
// named in the environment.
#include <cstdlib>

#include "base/endpoints.h"

namespace lite {

std::string RouteRequestUrl(std::string_view url) {
  const char* base = std::getenv("TOLVAR_LITE_ENDPOINT_BASE");
  return endpoints::RewriteCompiledInHost(url, base ? base : "");
}

}  // namespace lite
