// Writes Values as JSON text that ReadJson reads back to an equal Value.
#ifndef BASE_JSON_JSON_WRITER_H_
#define BASE_JSON_JSON_WRITER_H_

#include <string>

#include "base/json/json_value.h"

namespace lite {

// No whitespace; keys in byte order. Doubles keep a fraction or exponent so
// they do not read back as integers; NaN and infinities, which JSON cannot
// express, are written as null. Invalid UTF-8 in strings becomes U+FFFD.
std::string WriteJson(const Value& value);

// The form of seed files: one member or item per line, three spaces of
// indent per level, "key": value, CR LF line ends and a final CR LF.
std::string WriteJsonPretty(const Value& value);

}  // namespace lite

#endif  // BASE_JSON_JSON_WRITER_H_
