// The brand and partner packages compiled into the installer: choosing the
// brand package, writing both for setup and applying their configuration.
#ifndef DISTRIBUTION_PACKAGE_SOURCES_WIN_H_
#define DISTRIBUTION_PACKAGE_SOURCES_WIN_H_

#include <windows.h>

#include <string>
#include <string_view>

#include "distribution/brand_info.h"

namespace lite {

inline constexpr int kPartnerPackageResourceId = 320;
inline constexpr int kDefaultBrandPackageResourceId = 319;

// Clears |brand| and its registry values, sets the package paths in the
// working directory and loads the packages of |module| (the running
// executable when null). |requested_name| is the "brand-name" switch:
// "auto", a brand name, or empty for the default package.
void GetInfo(BrandInfo& brand, const std::string& requested_name, HMODULE module = nullptr);
void GetInfoFromResources(BrandInfo& brand, const std::string& requested_name,
                          HMODULE module = nullptr);

// Applies member |member_name| of the cabinet |package|, when it has one.
void ApplyPackage(BrandInfo& brand, std::string_view package, const std::string& member_name);

}  // namespace lite

#endif  // DISTRIBUTION_PACKAGE_SOURCES_WIN_H_
