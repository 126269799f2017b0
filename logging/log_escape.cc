#include "logging/log_escape.h"

#include <cstdint>

namespace lite {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendUnicodeEscape(uint32_t code_point, std::string* out) {
  out->append("\\u");
  for (int shift = 12; shift >= 0; shift -= 4) out->push_back(kHex[(code_point >> shift) & 0xF]);
}

}  // namespace

void AppendEscapedLogText(std::string_view text, std::string* out) {
  out->reserve(out->size() + text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x20 || byte == 0x7F) {
      out->append("\\x");
      out->push_back(kHex[byte >> 4]);
      out->push_back(kHex[byte & 0xF]);
      continue;
    }
    // U+0080..U+009F (NEL among them) are C2 80..C2 9F in UTF-8.
    if (byte == 0xC2 && i + 1 < text.size()) {
      const auto next = static_cast<unsigned char>(text[i + 1]);
      if (next >= 0x80 && next <= 0x9F) {
        AppendUnicodeEscape(next, out);
        ++i;
        continue;
      }
    }
    // U+2028 and U+2029 are E2 80 A8 and E2 80 A9.
    if (byte == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80) {
      const auto last = static_cast<unsigned char>(text[i + 2]);
      if (last == 0xA8 || last == 0xA9) {
        AppendUnicodeEscape(0x2000 + last - 0x80, out);
        i += 2;
        continue;
      }
    }
    out->push_back(static_cast<char>(byte));
  }
}

}  // namespace lite
