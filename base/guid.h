// GUIDs and their text forms. Creation calls Windows (guid_win.cc).
#ifndef BASE_GUID_H_
#define BASE_GUID_H_

#include <cstdint>
#include <optional>
#include <string>

namespace lite {

struct Guid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  uint8_t data4[8] = {};
};

// The StringFromGUID2 form: 38 characters, braces, upper-case hexadecimal,
// for example {6F9619FF-8B86-D011-B42D-00C04FC964FF}.
std::string GuidToString(const Guid& guid);
// |text| with one enclosing pair of braces removed when both are present.
std::string StripGuidBraces(const std::string& text);

#if defined(_WIN32)
// CoCreateGuid; nullopt when it fails.
std::optional<Guid> CreateGuid();
#endif

}  // namespace lite

#endif  // BASE_GUID_H_
