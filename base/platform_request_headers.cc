#include "base/platform_request_headers.h"

#include "base/utf.h"

namespace lite {

std::u16string BuildRequestHeaders(uint32_t major, uint32_t minor, uint32_t ubr) {
  const std::string version =
      std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(ubr);
  return WidenBytes("Accept: */*\r\nSec-CH-UA-Platform: \"Windows\"\r\n"
                    "Sec-CH-UA-Platform-Version: \"" + version + "\"");
}

}  // namespace lite
