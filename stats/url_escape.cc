#include "stats/url_escape.h"

#include "base/utf.h"

namespace lite {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

template <typename Char>
void AppendPercentEscape(unsigned byte, std::basic_string<Char>* out) {
  out->push_back(Char('%'));
  out->push_back(Char(kHexDigits[(byte >> 4) & 0xF]));
  out->push_back(Char(kHexDigits[byte & 0xF]));
}

bool IsAsciiAlphanumeric(unsigned c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool SegmentNeedsEscape(char16_t c) {
  if (c < 0x20 || (c >= 0x7F && c <= 0xFF)) return true;
  switch (c) {
    case ' ': case '"': case '#': case '&': case '<': case '>': case '?': case '[':
    case '\\': case ']': case '^': case '`': case '{': case '|': case '}': case '/':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::u16string EscapeUrlSegment(std::u16string_view segment) {
  std::u16string out;
  out.reserve(segment.size());
  for (char16_t c : segment) {
    if (SegmentNeedsEscape(c)) {
      AppendPercentEscape(c, &out);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string EscapeAllButUnreserved(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    const bool keep = IsAsciiAlphanumeric(c) || c == '!' || c == '\'' || c == '(' ||
                      c == ')' || c == '.' || c == '_' || c == '~';
    if (keep) {
      out.push_back(static_cast<char>(c));
    } else {
      AppendPercentEscape(c, &out);
    }
  }
  return out;
}

std::string EscapeQueryValue(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (unsigned char c : bytes) {
    if (IsAsciiAlphanumeric(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out.push_back(static_cast<char>(c));
    } else {
      AppendPercentEscape(c, &out);
    }
  }
  return out;
}

std::u16string DoublyEscapedUrlValue(std::u16string_view url) {
  return WidenBytes(EscapeAllButUnreserved(EscapeAllButUnreserved(UTF16ToUTF8(url))));
}

}  // namespace lite
