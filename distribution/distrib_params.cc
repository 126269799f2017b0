#include "distribution/distrib_params.h"

#include <algorithm>

#include "base/json/json_value.h"
#include "base/json/json_writer.h"
#include "base/utf.h"

namespace lite {

void ParseDistribParams(std::string_view text, DistribParamMap* params) {
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t key_end = std::min(text.find_first_of("&=", pos), text.size());
    std::string key(text.substr(pos, key_end - pos));
    std::string value;
    pos = key_end;
    if (pos < text.size() && text[pos] == '=') {
      const size_t value_end = std::min(text.find('&', pos + 1), text.size());
      value.assign(text.substr(pos + 1, value_end - pos - 1));
      pos = value_end;
    }
    (*params)[std::move(key)] = std::move(value);
    ++pos;  // past the "&"
  }
}

std::optional<std::string> BuildDistribInfoJson(const DistribParamMap& params) {
  Value::Dict dict;
  std::u16string unused;
  for (const auto& [key, value] : params) {
    if (!UTF8ToUTF16Strict(key, &unused) || !UTF8ToUTF16Strict(value, &unused)) {
      return std::nullopt;
    }
    dict.emplace(key, Value(value));
  }
  return WriteJson(Value(std::move(dict)));
}

}  // namespace lite
