#include "base/utf.h"

namespace lite {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Decodes one scalar value at |*pos|; advances past it. False on an
// ill-formed sequence, in which case |*pos| advances by one byte.
bool DecodeUTF8(std::string_view s, size_t* pos, char32_t* out) {
  const unsigned char lead = static_cast<unsigned char>(s[*pos]);
  size_t length;
  char32_t value;
  char32_t minimum;
  if (lead < 0x80) {
    *out = lead;
    ++*pos;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    ++*pos;
    return false;
  }
  if (*pos + length > s.size()) {
    ++*pos;
    return false;
  }
  for (size_t i = 1; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(s[*pos + i]);
    if ((c & 0xC0) != 0x80) {
      ++*pos;
      return false;
    }
    value = (value << 6) | (c & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || IsSurrogate(value)) {
    ++*pos;
    return false;
  }
  *pos += length;
  *out = value;
  return true;
}

void AppendUTF16(char32_t c, std::u16string* out) {
  if (c < 0x10000) {
    out->push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

template <bool kStrict>
bool ConvertToUTF16(std::string_view utf8, std::u16string* out) {
  out->clear();
  out->reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t c;
    if (!DecodeUTF8(utf8, &pos, &c)) {
      if (kStrict) return false;
      c = kReplacement;
    }
    AppendUTF16(c, out);
  }
  return true;
}

template <bool kStrict>
bool ConvertToUTF8(std::u16string_view utf16, std::string* out) {
  out->clear();
  out->reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() &&
        utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (IsSurrogate(c)) {
      if (kStrict) return false;
      c = kReplacement;
    }
    AppendUTF8(c, out);
  }
  return true;
}

}  // namespace

void AppendUTF8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::u16string UTF8ToUTF16(std::string_view utf8) {
  std::u16string out;
  ConvertToUTF16<false>(utf8, &out);
  return out;
}

std::string UTF16ToUTF8(std::u16string_view utf16) {
  std::string out;
  ConvertToUTF8<false>(utf16, &out);
  return out;
}

bool UTF8ToUTF16Strict(std::string_view utf8, std::u16string* out) {
  return ConvertToUTF16<true>(utf8, out);
}

bool UTF16ToUTF8Strict(std::u16string_view utf16, std::string* out) {
  return ConvertToUTF8<true>(utf16, out);
}

std::u16string WidenBytes(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(static_cast<unsigned char>(c));
  return out;
}

std::string NarrowLowBytes(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) out.push_back(static_cast<char>(c & 0xFF));
  return out;
}

std::string ToLowerASCII(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::u16string ToLowerASCII(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return out;
}

}  // namespace lite
