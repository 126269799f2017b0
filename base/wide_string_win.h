// Windows' wchar_t strings and the project's char16_t strings share a layout
// under MinGW (both UTF-16 units); these views cross between them.
#ifndef BASE_WIDE_STRING_WIN_H_
#define BASE_WIDE_STRING_WIN_H_

#include <string>
#include <string_view>

namespace lite {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

inline const wchar_t* AsWide(const std::u16string& s) {
  return reinterpret_cast<const wchar_t*>(s.c_str());
}
inline wchar_t* AsWide(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }
inline std::u16string FromWide(const wchar_t* s) {
  return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}
inline std::u16string FromWide(const wchar_t* s, size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(s), length);
}

}  // namespace lite

#endif  // BASE_WIDE_STRING_WIN_H_
