// The headers every request of the installer carries, downloads and
// statistics alike: "Accept: */*" and the two client hints naming the
// platform, CR LF between lines and none after the last.
#ifndef BASE_PLATFORM_REQUEST_HEADERS_H_
#define BASE_PLATFORM_REQUEST_HEADERS_H_

#include <cstdint>
#include <string>

namespace lite {

// The platform version is "major.minor.ubr" (the update build revision, not
// the build number).
std::u16string BuildRequestHeaders(uint32_t major, uint32_t minor, uint32_t ubr);

}  // namespace lite

#endif  // BASE_PLATFORM_REQUEST_HEADERS_H_
