// The maker's browser site that the error dialogs open, in the regional
// variant of the brand.
#ifndef UI_DIALOGS_BROWSER_SITE_H_
#define UI_DIALOGS_BROWSER_SITE_H_

#include <string>
#include <string_view>

namespace lite {

// Scheme and host: "tb" the Turkish, "int" the international, "ua-uk" and
// "ua-ru" the Ukrainian variant, any other id the default one. The brand id
// is compared exactly.
std::string_view BrowserSiteForBrand(std::string_view brand_id);

// The site's start page ("/?from=installer") and its feedback page
// ("/feedback/?from=installer").
std::string BrowserSiteUrl(std::string_view brand_id);
std::string FeedbackPageUrl(std::string_view brand_id);

}  // namespace lite

#endif  // UI_DIALOGS_BROWSER_SITE_H_
