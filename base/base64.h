#ifndef BASE_BASE64_H_
#define BASE_BASE64_H_

#include <optional>
#include <string>
#include <string_view>

namespace lite {

// Standard alphabet with padding, no line breaks.
std::string Base64Encode(std::string_view bytes);
// Strict: padding required, no white space; nullopt on any other input.
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace lite

#endif  // BASE_BASE64_H_
