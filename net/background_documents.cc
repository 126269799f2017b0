#include "net/background_documents.h"

#include "base/base64.h"
#include "base/json/json_value.h"
#include "base/json/json_writer.h"

namespace lite {

bool IsBackgroundDocumentEnabled(const BackgroundDocumentRule& rule,
                                 const std::optional<std::string>& param) {
  std::optional<std::string> value = param;
  if (!value && rule.default_value) value = rule.default_value;
  if (!value) return false;
  return rule.any_value_enables ? !value->empty() : *value == "1";
}

std::string ServerConfigBundleUrl(std::string_view scheme_and_host, const std::string& brand_id,
                                  const std::string& partner_id) {
  std::string query;
  if (!brand_id.empty()) query = "brandID=" + brand_id;
  if (!partner_id.empty()) query += (query.empty() ? "" : "&") + ("partnerID=" + partner_id);
  std::string url = std::string(scheme_and_host) + "/configs/all_zip";
  if (!query.empty()) url += "?" + query;
  return url;
}

std::string VariationsJson(std::string_view body, const std::string& signature,
                           const std::string& last_modified, const std::string& country) {
  Value::Dict seed;
  seed["variations_country"] = Value(country);
  seed["variations_last_modified_time"] = Value(last_modified);
  seed["variations_seed_base64"] = Value(Base64Encode(body));
  seed["variations_seed_signature"] = Value(signature);
  return WriteJsonPretty(Value(std::move(seed)));
}

}  // namespace lite
