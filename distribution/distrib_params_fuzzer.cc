// Any text as parameters: every parsed key and value is a piece of the text,
// parsing the parameters' own rendering gives them back, and the JSON form
// reads back to the same members.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/json/json_reader.h"
#include "distribution/distrib_params.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  lite::DistribParamMap params;
  lite::ParseDistribParams(text, &params);
  std::string rendered;
  for (const auto& [key, value] : params) {
    if (text.find(key) == std::string_view::npos || text.find(value) == std::string_view::npos ||
        key.find_first_of("&=") != std::string::npos || value.find('&') != std::string::npos) {
      __builtin_trap();
    }
    if (!rendered.empty()) rendered += '&';
    rendered += key + "=" + value;
  }
  lite::DistribParamMap again;
  lite::ParseDistribParams(rendered, &again);
  if (!params.empty() && again != params) __builtin_trap();

  const std::optional<std::string> json = lite::BuildDistribInfoJson(params);
  if (!json) return 0;
  const std::optional<lite::Value> value = lite::ReadJson(*json, nullptr);
  const lite::Value::Dict* dict = value ? value->GetIfDict() : nullptr;
  if (dict == nullptr || dict->size() != params.size()) __builtin_trap();
  for (const auto& [key, member] : *dict) {
    const std::string* text_value = member.GetIfString();
    const auto it = params.find(key);
    if (text_value == nullptr || it == params.end() || *text_value != it->second) __builtin_trap();
  }
  return 0;
}
