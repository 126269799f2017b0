// The documents fetched beside an installation for the browser's first
// start, which distribution parameters turn on, and the forms they take.
#ifndef NET_BACKGROUND_DOCUMENTS_H_
#define NET_BACKGROUND_DOCUMENTS_H_

#include <optional>
#include <string>
#include <string_view>

namespace lite {

enum class BackgroundDocument { kVariations, kAbt, kWebNtp, kServerConfig, kWallpaper };

struct BackgroundDocumentRule {
  BackgroundDocument document;
  const char* param_key;
  // Used when the parameter is absent; null: absent means disabled.
  const char* default_value;
  // Enabled by any non-empty value, not only by exactly "1".
  bool any_value_enables;
  // The setup switch that carries the document's path.
  const char* result_switch;
};

inline constexpr BackgroundDocumentRule kBackgroundDocumentRules[] = {
    {BackgroundDocument::kVariations, "vup", "1", false, "variations-update-path"},
    {BackgroundDocument::kAbt, "abtup", "1", false, "abt-update-path"},
    {BackgroundDocument::kWebNtp, "webntp", nullptr, false, "webntp-path"},
    {BackgroundDocument::kServerConfig, "scup", nullptr, false, "server-config-bundle-path"},
    {BackgroundDocument::kWallpaper, "pwexp", nullptr, true, "preloaded-wallpaper-bundle-path"},
};

// Whether |rule|'s document is wanted, given its parameter (nullopt when the
// distribution has none).
bool IsBackgroundDocumentEnabled(const BackgroundDocumentRule& rule,
                                 const std::optional<std::string>& param);

// |scheme_and_host| ("https://api.example") + "/configs/all_zip", with
// "brandID=" and "partnerID=" for the ids that are not empty, values as
// they are.
std::string ServerConfigBundleUrl(std::string_view scheme_and_host, const std::string& brand_id,
                                  const std::string& partner_id);

// The seed file: the body in base64 and the response headers, in the
// indented form with CR LF line ends.
std::string VariationsJson(std::string_view body, const std::string& signature,
                           const std::string& last_modified, const std::string& country);

}  // namespace lite

#endif  // NET_BACKGROUND_DOCUMENTS_H_
