#include <windows.h>

#include "base/utf.h"
#include "base/wide_string_win.h"
#include "distribution/brand_autodetect.h"
#include "distribution/language_codes.h"

namespace lite {
namespace {

// Two letters, or empty when Windows knows no location for the user.
std::string UserRegion() {
  const GEOID geo_id = GetUserGeoID(GEOCLASS_NATION);
  if (geo_id == GEOID_NOT_AVAILABLE) return std::string();
  wchar_t iso2[3] = {};
  if (GetGeoInfoW(geo_id, GEO_ISO2, iso2, 3, 0) != 3) return std::string();
  return NarrowLowBytes(FromWide(iso2, 2));
}

}  // namespace

std::string AutodetectBrandName() {
  const std::string region = UserRegion();
  return AutodetectBrandNameFor(region, GetUserUiLanguageCode());
}

}  // namespace lite
