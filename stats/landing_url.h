// Pages the installer opens for the user: the full-installer download page
// after a failed lite installation, and the language-specific documents.
#ifndef STATS_LANDING_URL_H_
#define STATS_LANDING_URL_H_

#include <map>
#include <string>
#include <string_view>

namespace lite {

// The regional download site (scheme and host) for a brand id; unknown ids
// get the first site.
std::string_view LandingSiteForBrand(std::string_view brand_id);

// <site>/download?<passed parameters>full=1&code=lite_install_failed, where
// the passed parameters are those distribution parameters whose names are on
// the landing page's pass list, each as name=value&, in name order, the value
// escaped (EscapeQueryValue): the tag that carries them is not signed.
std::string BuildFullInstallerLandingUrl(std::string_view brand_id,
                                         const std::map<std::string, std::string>& distrib_params);

// |document_url| as it is + "?lang=" + |language| escaped.
std::string AppendLanguageQuery(std::string_view document_url, std::string_view language);

}  // namespace lite

#endif  // STATS_LANDING_URL_H_
