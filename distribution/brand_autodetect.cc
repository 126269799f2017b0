#include "distribution/brand_autodetect.h"

#include "logging/log_message.h"

namespace lite {
namespace {

// An empty cell matches anything; rows are tried in order.
struct AutodetectRow {
  std::string_view region;
  std::string_view language;
  std::string_view brand_name;
};

constexpr AutodetectRow kAutodetectTable[] = {
    {"RU", "uk", "ua_uk"}, {"RU", "", "tolvar"}, {"UA", "ru", "ua_ru"}, {"UA", "", "ua_uk"},
    {"TR", "", "tb"},      {"", "ru", "tolvar"}, {"", "uk", "ua_uk"},   {"", "tr", "tb"},
};

bool CellMatches(std::string_view cell, std::string_view value) {
  return cell.empty() || cell == value;
}

}  // namespace

std::string AutodetectBrandNameFor(std::string_view region, std::string_view language) {
  LOG_FROM(INFO, "AutodetectBrandName") << "User region: " << region;
  LOG_FROM(INFO, "AutodetectBrandName") << "User locale: " << language;
  for (const AutodetectRow& row : kAutodetectTable) {
    if (CellMatches(row.region, region) && CellMatches(row.language, language)) {
      LOG_FROM(INFO, "AutodetectBrandName") << "Detected brand-name: " << row.brand_name;
      return std::string(row.brand_name);
    }
  }
  LOG_FROM(INFO, "AutodetectBrandName")
      << "Didn't found brand-name. Use default: " << kDefaultBrandName;
  return kDefaultBrandName;
}

}  // namespace lite
