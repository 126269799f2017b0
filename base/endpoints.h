// The service hosts compiled into the installer, and where a request to one
// of them really goes. The shipping build sends every request where its URL
// says; the end-to-end build (lite_installer_e2e.exe) sends requests for the
// compiled-in hosts to the test server named by TOLVAR_LITE_ENDPOINT_BASE,
// keeping each URL's path and query. The choice is made by linking one of
// the two routing objects, never at run time.
#ifndef BASE_ENDPOINTS_H_
#define BASE_ENDPOINTS_H_

#include <string>
#include <string_view>

#include "product_config.h"

namespace lite::endpoints {

inline constexpr std::string_view kDownloadCdn = TL_DOWNLOAD_CDN_HOST;
inline constexpr std::string_view kLegal = TL_LEGAL_HOST;
inline constexpr std::string_view kBrowserApi = TL_BROWSER_API_HOST;
inline constexpr std::string_view kWebNtp = TL_WEBNTP_HOST;
inline constexpr std::string_view kStats = TL_STATS_HOST;
inline constexpr std::string_view kInstallReport = TL_REPORT_HOST;
inline constexpr std::string_view kCrashReport = TL_CRASH_HOST;
inline constexpr std::string_view kSites[] = {TL_SITE1_HOST, TL_SITE2_HOST, TL_SITE3_HOST,
                                              TL_SITE4_HOST, TL_SITE5_HOST};
// The browser site: the default, Turkish, international and Ukrainian variants.
inline constexpr std::string_view kBrowserSite = TL_BROWSER_SITE_HOST;
inline constexpr std::string_view kBrowserSiteTr = TL_BROWSER_SITE_TR_HOST;
inline constexpr std::string_view kBrowserSiteInt = TL_BROWSER_SITE_INT_HOST;
inline constexpr std::string_view kBrowserSiteUa = TL_BROWSER_SITE_UA_HOST;

// |url| with its scheme and host replaced by |base| when they are one of the
// compiled-in hosts above (matched exactly, up to the first "/", "?" or "#");
// any other URL, or an empty |base|, is returned unchanged.
std::string RewriteCompiledInHost(std::string_view url, std::string_view base);

}  // namespace lite::endpoints

namespace lite {

// The URL to open for |url|; every network request passes through here just
// before it is opened. Defined by endpoint_routing_shipping.cc or
// endpoint_routing_e2e.cc, whichever the executable links.
std::string RouteRequestUrl(std::string_view url);

}  // namespace lite

#endif  // BASE_ENDPOINTS_H_
