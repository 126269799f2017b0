// Reads the JSON dialect of the installer's files: RFC 8259 plus comments,
// raw control characters in strings and the escapes \v and \xHH.
#ifndef BASE_JSON_JSON_READER_H_
#define BASE_JSON_JSON_READER_H_

#include <optional>
#include <string>
#include <string_view>

#include "base/json/json_value.h"

namespace lite {

// Lists and dictionaries may nest this deep; one more level is an error.
inline constexpr int kMaxJsonDepth = 200;

// The value of |text|, or nullopt with |*error_message| (when non-null) set
// to "Line: L, column: C, <problem>." (1-based; the column counts bytes).
// On success |*error_message| is cleared. Safe on arbitrary bytes.
std::optional<Value> ReadJson(std::string_view text, std::string* error_message);

}  // namespace lite

#endif  // BASE_JSON_JSON_READER_H_
