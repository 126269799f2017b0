// Joining texts with a separator.
#ifndef BASE_STRING_JOIN_H_
#define BASE_STRING_JOIN_H_

#include <string>
#include <string_view>
#include <vector>

namespace lite {

inline std::string JoinStrings(const std::vector<std::string>& parts, std::string_view separator) {
  std::string joined;
  for (const std::string& part : parts) {
    if (!joined.empty()) joined += separator;
    joined += part;
  }
  return joined;
}

}  // namespace lite

#endif  // BASE_STRING_JOIN_H_
