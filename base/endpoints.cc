#include "base/endpoints.h"

namespace lite::endpoints {

namespace {

bool IsCompiledInHost(std::string_view scheme_and_host) {
  for (std::string_view host : {kDownloadCdn, kLegal, kBrowserApi, kWebNtp, kStats,
                                kInstallReport, kCrashReport, kBrowserSite, kBrowserSiteTr,
                                kBrowserSiteInt, kBrowserSiteUa}) {
    if (scheme_and_host == host) return true;
  }
  for (std::string_view host : kSites) {
    if (scheme_and_host == host) return true;
  }
  return false;
}

}  // namespace

std::string RewriteCompiledInHost(std::string_view url, std::string_view base) {
  if (base.empty()) return std::string(url);
  const size_t scheme_end = url.find("://");
  if (scheme_end == std::string_view::npos) return std::string(url);
  size_t host_end = url.find_first_of("/?#", scheme_end + 3);
  if (host_end == std::string_view::npos) host_end = url.size();
  if (!IsCompiledInHost(url.substr(0, host_end))) return std::string(url);
  // A base given with a trailing slash must not double the path's slash.
  while (!base.empty() && base.back() == '/') base.remove_suffix(1);
  std::string routed(base);
  routed.append(url.substr(host_end));
  return routed;
}

}  // namespace lite::endpoints
