// Any bytes: the reader must not crash, and whatever it accepts must survive
// a write and a second read unchanged, in both written forms.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/json/json_reader.h"
#include "base/json/json_value.h"
#include "base/json/json_writer.h"

namespace {

void CheckRoundTrip(const lite::Value& value, const std::string& written) {
  std::string error;
  const std::optional<lite::Value> again = lite::ReadJson(written, &error);
  if (!again || *again != value) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const std::optional<lite::Value> value = lite::ReadJson(text, &error);
  if (!value) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  const std::string compact = lite::WriteJson(*value);
  CheckRoundTrip(*value, compact);
  CheckRoundTrip(*value, lite::WriteJsonPretty(*value));
  // Writing is a function of the value alone, so the output is stable.
  if (lite::WriteJson(*lite::ReadJson(compact, nullptr)) != compact) __builtin_trap();
  return 0;
}
