#include "stats/landing_url.h"

#include <algorithm>

#include "base/endpoints.h"
#include "stats/url_escape.h"

namespace lite {

namespace {

struct BrandSite {
  std::string_view brand_id;
  size_t site;  // index into endpoints::kSites
};

constexpr BrandSite kBrandSites[] = {
    {"tolvar", 0}, {"by", 1}, {"int", 2}, {"tb", 3}, {"ua", 4}, {"ua-uk", 4}, {"ua-ru", 4},
};

// Kept sorted: the names are looked up with a binary search.
constexpr std::string_view kLandingPassList[] = {
    "banerid", "beta",  "betacusto",  "bgid",  "custo",      "expnerida",
    "football", "lang", "nerida",     "partner_id", "pleno", "tlpartner_id",
};

}  // namespace

std::string_view LandingSiteForBrand(std::string_view brand_id) {
  for (const BrandSite& entry : kBrandSites) {
    if (entry.brand_id == brand_id) return endpoints::kSites[entry.site];
  }
  return endpoints::kSites[0];
}

std::string BuildFullInstallerLandingUrl(std::string_view brand_id,
                                         const std::map<std::string, std::string>& distrib_params) {
  std::string url(LandingSiteForBrand(brand_id));
  url += "/download?";
  for (const auto& [name, value] : distrib_params) {
    if (!std::binary_search(std::begin(kLandingPassList), std::end(kLandingPassList), name)) {
      continue;
    }
    url += name + "=" + EscapeQueryValue(value) + "&";
  }
  url += "full=1&code=lite_install_failed";
  return url;
}

std::string AppendLanguageQuery(std::string_view document_url, std::string_view language) {
  std::string url(document_url);
  url += "?lang=";
  url += EscapeQueryValue(language);
  return url;
}

}  // namespace lite
