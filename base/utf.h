// Conversions between the installer's two text forms: UTF-8 for JSON, URLs,
// switch names and log lines; UTF-16 for paths, window texts and Windows calls.
#ifndef BASE_UTF_H_
#define BASE_UTF_H_

#include <string>
#include <string_view>

namespace lite {

// Ill-formed input (lone surrogates, bad UTF-8 sequences) becomes U+FFFD.
std::u16string UTF8ToUTF16(std::string_view utf8);
std::string UTF16ToUTF8(std::u16string_view utf16);

// Strict variants: false on ill-formed input, output then unspecified.
bool UTF8ToUTF16Strict(std::string_view utf8, std::u16string* out);
bool UTF16ToUTF8Strict(std::u16string_view utf16, std::string* out);

// One UTF-16 unit per byte, for ASCII texts such as URLs and language codes.
std::u16string WidenBytes(std::string_view bytes);
// The low byte of each UTF-16 unit, for switch values read as 8-bit text.
std::string NarrowLowBytes(std::u16string_view text);

// Appends the UTF-8 form of a Unicode scalar value.
void AppendUTF8(char32_t code_point, std::string* out);

// ASCII-only case mapping; other bytes are left alone.
std::string ToLowerASCII(std::string_view text);
std::u16string ToLowerASCII(std::u16string_view text);

}  // namespace lite

#endif  // BASE_UTF_H_
