// Decimal numbers in switch and parameter values.
#ifndef BASE_DECIMAL_TEXT_H_
#define BASE_DECIMAL_TEXT_H_

#include <charconv>
#include <string_view>
#include <system_error>

namespace lite {

// The leading decimal number of |text| goes to |value| (0 when there is
// none or it does not fit); true when that number is the whole text.
template <typename Number>
bool ParseDecimal(std::string_view text, Number* value) {
  *value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, *value);
  if (error != std::errc()) *value = 0;
  return error == std::errc() && ptr == end;
}

}  // namespace lite

#endif  // BASE_DECIMAL_TEXT_H_
