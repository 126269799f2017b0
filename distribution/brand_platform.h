// What brand information needs from the operating system, kept behind three
// calls so that the merging and the defaults build and run on the host too.
#ifndef DISTRIBUTION_BRAND_PLATFORM_H_
#define DISTRIBUTION_BRAND_PLATFORM_H_

#include <cstdint>
#include <string>

namespace lite {

// GetUserDefaultUILanguage; English (1033) on the host.
uint32_t UserDefaultUiLanguageId();
// GetUserId: the per-user identifier without braces; empty on the host.
std::string UserIdForQuery();
// The last system error as log lines append it: "<code>, <message>".
std::string LastSystemErrorText();

}  // namespace lite

#endif  // DISTRIBUTION_BRAND_PLATFORM_H_
