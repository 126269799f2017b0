#include "distribution/brand_platform.h"

#include <cerrno>
#include <cstring>

namespace lite {

uint32_t UserDefaultUiLanguageId() { return 1033; }

std::string UserIdForQuery() { return std::string(); }

std::string LastSystemErrorText() {
  const int error = errno;
  return std::to_string(error) + ", " + std::strerror(error);
}

}  // namespace lite
