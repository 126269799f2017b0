#include "base/json/json_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "base/utf.h"

namespace lite {
namespace {

bool IsASCII(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

void AppendEscaped(char c, std::string* out) {
  switch (c) {
    case '"': out->append("\\\""); return;
    case '\\': out->append("\\\\"); return;
    case '\b': out->append("\\b"); return;
    case '\f': out->append("\\f"); return;
    case '\n': out->append("\\n"); return;
    case '\r': out->append("\\r"); return;
    case '\t': out->append("\\t"); return;
  }
  const unsigned char byte = static_cast<unsigned char>(c);
  if (byte >= 0x20) {
    out->push_back(c);
    return;
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  out->append("\\u00");
  out->push_back(kHex[byte >> 4]);
  out->push_back(kHex[byte & 0xF]);
}

void AppendString(std::string_view text, std::string* out) {
  // Output must stay UTF-8 even when a caller stored arbitrary bytes.
  std::string repaired;
  std::u16string unused;
  if (!IsASCII(text) && !UTF8ToUTF16Strict(text, &unused)) {
    repaired = UTF16ToUTF8(UTF8ToUTF16(text));
    text = repaired;
  }
  out->push_back('"');
  for (char c : text) AppendEscaped(c, out);
  out->push_back('"');
}

void AppendDouble(double value, std::string* out) {
  if (!std::isfinite(value)) {
    out->append("null");
    return;
  }
  // The shortest text that reads back as the same double: the fewest
  // significant digits that do, written plainly or with an exponent,
  // whichever is shorter (plainly on a tie). std::to_chars does the same,
  // but its tables alone would add a fifth to the installer's size.
  char scientific[32];
  int precision = 1;
  for (; precision < 17; ++precision) {
    snprintf(scientific, sizeof(scientific), "%.*e", precision - 1, value);
    if (strtod(scientific, nullptr) == value) break;
  }
  snprintf(scientific, sizeof(scientific), "%.*e", precision - 1, value);
  const int exponent = atoi(strchr(scientific, 'e') + 1);
  char buffer[400];  // a plain 1e-300 needs over 300 digits
  snprintf(buffer, sizeof(buffer), "%.*f", std::max(0, precision - 1 - exponent), value);
  if (strlen(scientific) < strlen(buffer)) strcpy(buffer, scientific);
  const std::string_view text(buffer);
  out->append(text);
  // "2" would read back as an integer.
  if (text.find_first_of(".e") == std::string_view::npos) out->append(".0");
}

class Writer {
 public:
  explicit Writer(bool pretty) : pretty_(pretty) {}

  std::string Write(const Value& root) {
    WriteValue(root, 0);
    if (pretty_) out_.append("\r\n");
    return std::move(out_);
  }

 private:
  void WriteValue(const Value& value, int depth);
  void WriteList(const Value::List& list, int depth);
  void WriteDict(const Value::Dict& dict, int depth);
  // In the pretty form, a line break and the indent of |depth|.
  void StartLine(int depth);

  const bool pretty_;
  std::string out_;
};

void Writer::WriteValue(const Value& value, int depth) {
  if (const bool* b = value.GetIfBool()) {
    out_.append(*b ? "true" : "false");
  } else if (const int* i = value.GetIfInt()) {
    out_.append(std::to_string(*i));
  } else if (const double* d = value.GetIfDouble()) {
    AppendDouble(*d, &out_);
  } else if (const std::string* s = value.GetIfString()) {
    AppendString(*s, &out_);
  } else if (const Value::List* list = value.GetIfList()) {
    WriteList(*list, depth);
  } else if (const Value::Dict* dict = value.GetIfDict()) {
    WriteDict(*dict, depth);
  } else {
    out_.append("null");
  }
}

void Writer::WriteList(const Value::List& list, int depth) {
  if (list.empty()) {
    out_.append("[]");
    return;
  }
  out_.push_back('[');
  for (size_t i = 0; i < list.size(); ++i) {
    if (i > 0) out_.push_back(',');
    StartLine(depth + 1);
    WriteValue(list[i], depth + 1);
  }
  StartLine(depth);
  out_.push_back(']');
}

void Writer::WriteDict(const Value::Dict& dict, int depth) {
  if (dict.empty()) {
    out_.append("{}");
    return;
  }
  out_.push_back('{');
  bool first = true;
  for (const auto& [key, value] : dict) {
    if (!first) out_.push_back(',');
    first = false;
    StartLine(depth + 1);
    AppendString(key, &out_);
    out_.append(pretty_ ? ": " : ":");
    WriteValue(value, depth + 1);
  }
  StartLine(depth);
  out_.push_back('}');
}

void Writer::StartLine(int depth) {
  if (!pretty_) return;
  out_.append("\r\n");
  out_.append(3 * static_cast<size_t>(depth), ' ');
}

}  // namespace

std::string WriteJson(const Value& value) { return Writer(false).Write(value); }

std::string WriteJsonPretty(const Value& value) { return Writer(true).Write(value); }

}  // namespace lite
