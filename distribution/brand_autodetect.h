// The brand chosen by the user's region and UI language when the
// "brand-name" switch asks for "auto".
#ifndef DISTRIBUTION_BRAND_AUTODETECT_H_
#define DISTRIBUTION_BRAND_AUTODETECT_H_

#include <string>
#include <string_view>

namespace lite {

inline constexpr char kDefaultBrandName[] = "tolvar";

// The first row of the autodetection table that matches |region| (ISO 3166
// two letters, empty when unknown) and |language| (an interface language
// code); "tolvar" when none does. Logs the inputs and the choice.
std::string AutodetectBrandNameFor(std::string_view region, std::string_view language);

// The same for this user: region from GetUserGeoID/GetGeoInfoW, language
// from GetUserUiLanguageCode.
std::string AutodetectBrandName();

}  // namespace lite

#endif  // DISTRIBUTION_BRAND_AUTODETECT_H_
