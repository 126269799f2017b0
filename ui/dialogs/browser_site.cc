#include "ui/dialogs/browser_site.h"

#include "base/endpoints.h"

namespace lite {

std::string_view BrowserSiteForBrand(std::string_view brand_id) {
  if (brand_id == "tb") return endpoints::kBrowserSiteTr;
  if (brand_id == "int") return endpoints::kBrowserSiteInt;
  if (brand_id == "ua-uk" || brand_id == "ua-ru") return endpoints::kBrowserSiteUa;
  return endpoints::kBrowserSite;
}

std::string BrowserSiteUrl(std::string_view brand_id) {
  return std::string(BrowserSiteForBrand(brand_id)) + "/?from=installer";
}

std::string FeedbackPageUrl(std::string_view brand_id) {
  return std::string(BrowserSiteForBrand(brand_id)) + "/feedback/?from=installer";
}

}  // namespace lite
