#include "base/json/json_reader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "base/utf.h"

namespace lite {
namespace {

enum class Error {
  kNoValue,
  kUnexpectedEnd,
  kUnexpectedToken,
  kDataAfterRoot,
  kTrailingComma,
  kTooDeep,
  kInvalidNumber,
  kNumberOutOfRange,
  kUnterminatedString,
  kInvalidEscape,
  kUnpairedSurrogate,
  kInvalidUTF8,
  kInvalidComment,
  kUnterminatedComment,
  kKeyNotString,
  kExpectedColon,
  kExpectedCommaOrBracket,
  kExpectedCommaOrBrace,
};

const char* Describe(Error error) {
  switch (error) {
    case Error::kNoValue: return "No JSON value in the text.";
    case Error::kUnexpectedEnd: return "Unexpected end of text.";
    case Error::kUnexpectedToken: return "Unexpected token.";
    case Error::kDataAfterRoot: return "Unexpected data after the root value.";
    case Error::kTrailingComma: return "Trailing comma not allowed.";
    case Error::kTooDeep: return "Nesting deeper than 200 levels.";
    case Error::kInvalidNumber: return "Invalid number.";
    case Error::kNumberOutOfRange: return "Number too large for a double.";
    case Error::kUnterminatedString: return "Unterminated string.";
    case Error::kInvalidEscape: return "Invalid escape sequence.";
    case Error::kUnpairedSurrogate: return "Unpaired surrogate in a \\u escape.";
    case Error::kInvalidUTF8: return "Invalid UTF-8 sequence.";
    case Error::kInvalidComment: return "Invalid comment: '/' must be followed by '/' or '*'.";
    case Error::kUnterminatedComment: return "Unterminated block comment.";
    case Error::kKeyNotString: return "Object keys must be strings.";
    case Error::kExpectedColon: return "Expected ':' after an object key.";
    case Error::kExpectedCommaOrBracket: return "Expected ',' or ']' after a list item.";
    case Error::kExpectedCommaOrBrace: return "Expected ',' or '}' after an object member.";
  }
  return "Unknown error.";
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The character a one-letter escape stands for, or 0 if there is no such
// escape (\u and \x take digits and are handled apart).
char SimpleEscape(char letter) {
  switch (letter) {
    case '"': return '"';
    case '\\': return '\\';
    case '/': return '/';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
  }
  return 0;
}

// Length of the well-formed UTF-8 sequence at |pos|, or 0 if it is not one.
size_t UTF8SequenceLength(std::string_view text, size_t pos) {
  const unsigned char lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return 1;
  const size_t length = lead < 0xC0 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 0;
  if (length == 0 || length > text.size() - pos) return 0;
  // The strict converter rejects overlong forms, surrogates and values
  // beyond U+10FFFF; one scalar value fits the short-string buffer.
  std::u16string unused;
  return UTF8ToUTF16Strict(text.substr(pos, length), &unused) ? length : 0;
}

// Everything a number token may be made of, so that "01", "1.e5" or "0x1F"
// are reported as one bad number rather than as a number and stray text.
bool IsNumberChar(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' ||
         c == '+' || c == '-';
}

// -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
bool IsJsonNumber(std::string_view s) {
  size_t i = 0;
  auto skip_digits = [&] {
    const size_t from = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    return i > from;
  };
  if (i < s.size() && s[i] == '-') ++i;
  if (i < s.size() && s[i] == '0') {
    ++i;
  } else if (!skip_digits()) {
    return false;
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    if (!skip_digits()) return false;
  }
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (!skip_digits()) return false;
  }
  return i == s.size();
}

// from_chars reports a number too small for a double the same way as one too
// large. Both lie hundreds of decimal orders away from 1, so comparing the
// magnitude with 1 tells which one |number| (a valid JSON number) is.
bool MagnitudeBelowOne(std::string_view number) {
  const size_t e = number.find_first_of("eE");
  long long exponent = 0;
  if (e != std::string_view::npos) {
    const bool negative = number[e + 1] == '-';
    for (size_t i = e + 1; i < number.size(); ++i) {
      // Saturates: far beyond any double, yet cannot overflow.
      if (IsDigit(number[i])) exponent = std::min(exponent * 10 + (number[i] - '0'), 1LL << 40);
    }
    if (negative) exponent = -exponent;
  }
  const std::string_view mantissa = number.substr(0, e);
  const size_t first = mantissa.find_first_not_of("-0.");
  if (first == std::string_view::npos) return true;  // zero
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  // Decimal exponent of the first significant digit: 2 for "123", -3 for "0.001".
  const long long leading = first < point ? static_cast<long long>(point - first - 1)
                                          : -static_cast<long long>(first - point);
  return leading + exponent < 0;
}

// A recursive-descent parser; recursion is bounded by kMaxJsonDepth.
// Every failing step records the error and returns nullopt or false.
class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  std::optional<Value> Parse(std::string* error_message);

 private:
  std::optional<Value> ParseRoot();
  std::optional<Value> ParseValue(int depth);
  std::optional<Value> ParseList(int depth);
  std::optional<Value> ParseDict(int depth);
  std::optional<Value> ParseLiteral();
  std::optional<Value> ParseNumber();
  std::optional<std::string> ParseString();
  bool ParseEscape(std::string* out);
  bool ParseUnicodeEscape(size_t start, std::string* out);
  bool ReadHex(int digits, char32_t* out);

  bool SkipSpaceAndComments();
  bool SkipComment();
  bool CheckUTF8(size_t begin, size_t end);

  bool AtEnd() const { return pos_ >= text_.size(); }
  bool Consume(std::string_view token);
  bool ConsumeCommaBefore(char closing, Error missing);

  std::nullopt_t Fail(Error error, size_t offset);
  std::string ErrorMessage() const;

  std::string_view text_;
  size_t pos_ = 0;
  Error error_ = Error::kNoValue;
  size_t error_offset_ = 0;
};

std::optional<Value> Parser::Parse(std::string* error_message) {
  std::optional<Value> root = ParseRoot();
  if (error_message) *error_message = root ? std::string() : ErrorMessage();
  return root;
}

std::optional<Value> Parser::ParseRoot() {
  if (!SkipSpaceAndComments()) return std::nullopt;
  if (AtEnd()) return Fail(Error::kNoValue, pos_);
  std::optional<Value> root = ParseValue(0);
  if (!root || !SkipSpaceAndComments()) return std::nullopt;
  if (!AtEnd()) return Fail(Error::kDataAfterRoot, pos_);
  return root;
}

std::optional<Value> Parser::ParseValue(int depth) {
  if (AtEnd()) return Fail(Error::kUnexpectedEnd, pos_);
  const char c = text_[pos_];
  if (c == '[') return ParseList(depth + 1);
  if (c == '{') return ParseDict(depth + 1);
  if (c == '"') {
    std::optional<std::string> text = ParseString();
    if (!text) return std::nullopt;
    return Value(std::move(*text));
  }
  // '+' and '.' start no JSON value, but "+1" and ".5" read best as bad numbers.
  if (IsDigit(c) || c == '-' || c == '+' || c == '.') return ParseNumber();
  return ParseLiteral();
}

std::optional<Value> Parser::ParseList(int depth) {
  if (depth > kMaxJsonDepth) return Fail(Error::kTooDeep, pos_);
  ++pos_;  // '['
  Value::List list;
  if (!SkipSpaceAndComments()) return std::nullopt;
  if (Consume("]")) return Value(std::move(list));
  while (true) {
    std::optional<Value> item = ParseValue(depth);
    if (!item) return std::nullopt;
    list.push_back(std::move(*item));
    if (!SkipSpaceAndComments()) return std::nullopt;
    if (Consume("]")) return Value(std::move(list));
    if (!ConsumeCommaBefore(']', Error::kExpectedCommaOrBracket)) return std::nullopt;
  }
}

std::optional<Value> Parser::ParseDict(int depth) {
  if (depth > kMaxJsonDepth) return Fail(Error::kTooDeep, pos_);
  ++pos_;  // '{'
  Value::Dict dict;
  if (!SkipSpaceAndComments()) return std::nullopt;
  if (Consume("}")) return Value(std::move(dict));
  while (true) {
    if (AtEnd()) return Fail(Error::kUnexpectedEnd, pos_);
    if (text_[pos_] != '"') return Fail(Error::kKeyNotString, pos_);
    std::optional<std::string> key = ParseString();
    if (!key || !SkipSpaceAndComments()) return std::nullopt;
    if (!Consume(":")) {
      return Fail(AtEnd() ? Error::kUnexpectedEnd : Error::kExpectedColon, pos_);
    }
    if (!SkipSpaceAndComments()) return std::nullopt;
    std::optional<Value> value = ParseValue(depth);
    if (!value) return std::nullopt;
    // A repeated key replaces the earlier value.
    dict.insert_or_assign(std::move(*key), std::move(*value));
    if (!SkipSpaceAndComments()) return std::nullopt;
    if (Consume("}")) return Value(std::move(dict));
    if (!ConsumeCommaBefore('}', Error::kExpectedCommaOrBrace)) return std::nullopt;
  }
}

// After a comma another item must follow, not |closing|.
bool Parser::ConsumeCommaBefore(char closing, Error missing) {
  const size_t comma = pos_;
  if (!Consume(",")) {
    Fail(AtEnd() ? Error::kUnexpectedEnd : missing, pos_);
    return false;
  }
  if (!SkipSpaceAndComments()) return false;
  if (!AtEnd() && text_[pos_] == closing) {
    Fail(Error::kTrailingComma, comma);
    return false;
  }
  return true;
}

std::optional<Value> Parser::ParseLiteral() {
  if (Consume("true")) return Value(true);
  if (Consume("false")) return Value(false);
  if (Consume("null")) return Value();
  return Fail(Error::kUnexpectedToken, pos_);
}

std::optional<Value> Parser::ParseNumber() {
  const size_t start = pos_;
  while (!AtEnd() && IsNumberChar(text_[pos_])) ++pos_;
  const std::string_view number = text_.substr(start, pos_ - start);
  if (!IsJsonNumber(number)) return Fail(Error::kInvalidNumber, start);
  const char* const first = number.data();
  const char* const last = first + number.size();
  if (number.find_first_of(".eE") == std::string_view::npos) {
    int integer = 0;
    if (std::from_chars(first, last, integer).ec == std::errc()) return Value(integer);
    // Beyond 32 bits: read as a double below.
  }
  // strtod rather than std::from_chars for doubles: the same result for a
  // valid JSON number in the "C" locale the installer keeps, without the
  // parsing tables that would add to the installer's size.
  const std::string terminated(number);
  errno = 0;
  const double real = strtod(terminated.c_str(), nullptr);
  if (errno != ERANGE) return Value(real);
  if (MagnitudeBelowOne(number)) return Value(real == 0 && number[0] == '-' ? -0.0 : real);
  return Fail(Error::kNumberOutOfRange, start);
}

std::optional<std::string> Parser::ParseString() {
  const size_t start = pos_;
  ++pos_;  // '"'
  std::string out;
  while (!AtEnd()) {
    const char c = text_[pos_];
    if (c == '"') {
      ++pos_;
      return out;
    }
    if (c == '\\') {
      if (pos_ + 1 == text_.size()) break;
      if (!ParseEscape(&out)) return std::nullopt;
      continue;
    }
    // Raw control characters are allowed here; only the encoding is checked.
    const size_t length = UTF8SequenceLength(text_, pos_);
    if (length == 0) return Fail(Error::kInvalidUTF8, pos_);
    out.append(text_.substr(pos_, length));
    pos_ += length;
  }
  return Fail(Error::kUnterminatedString, start);
}

bool Parser::ParseEscape(std::string* out) {
  const size_t start = pos_;
  const char letter = text_[pos_ + 1];
  pos_ += 2;
  if (const char c = SimpleEscape(letter)) {
    out->push_back(c);
    return true;
  }
  if (letter == 'u') return ParseUnicodeEscape(start, out);
  char32_t code_point = 0;
  if (letter == 'x' && ReadHex(2, &code_point)) {
    AppendUTF8(code_point, out);
    return true;
  }
  Fail(Error::kInvalidEscape, start);
  return false;
}

// A \u escape holds one UTF-16 unit; characters beyond U+FFFF take a
// high-surrogate escape directly followed by a low-surrogate one.
bool Parser::ParseUnicodeEscape(size_t start, std::string* out) {
  char32_t unit = 0;
  if (!ReadHex(4, &unit)) {
    Fail(Error::kInvalidEscape, start);
    return false;
  }
  if (IsHighSurrogate(unit)) {
    char32_t low = 0;
    if (!Consume("\\u") || !ReadHex(4, &low) || !IsLowSurrogate(low)) {
      Fail(Error::kUnpairedSurrogate, start);
      return false;
    }
    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
  } else if (IsLowSurrogate(unit)) {
    Fail(Error::kUnpairedSurrogate, start);
    return false;
  }
  AppendUTF8(unit, out);
  return true;
}

bool Parser::ReadHex(int digits, char32_t* out) {
  if (text_.size() - pos_ < static_cast<size_t>(digits)) return false;
  char32_t value = 0;
  for (int i = 0; i < digits; ++i) {
    const int digit = HexDigitValue(text_[pos_ + i]);
    if (digit < 0) return false;
    value = value * 16 + static_cast<char32_t>(digit);
  }
  pos_ += digits;
  *out = value;
  return true;
}

bool Parser::SkipSpaceAndComments() {
  while (!AtEnd()) {
    const char c = text_[pos_];
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      ++pos_;
    } else if (c == '/') {
      if (!SkipComment()) return false;
    } else {
      break;
    }
  }
  return true;
}

bool Parser::SkipComment() {
  const size_t start = pos_;
  if (Consume("//")) {
    pos_ = std::min(text_.find('\n', pos_), text_.size());
    return CheckUTF8(start, pos_);
  }
  if (Consume("/*")) {
    const size_t end = text_.find("*/", pos_);
    if (end == std::string_view::npos) {
      Fail(Error::kUnterminatedComment, start);
      return false;
    }
    pos_ = end + 2;
    return CheckUTF8(start, end);
  }
  Fail(Error::kInvalidComment, start);
  return false;
}

// Comments are skipped, but the text as a whole must still be UTF-8.
bool Parser::CheckUTF8(size_t begin, size_t end) {
  for (size_t i = begin; i < end;) {
    const size_t length = UTF8SequenceLength(text_, i);
    if (length == 0 || length > end - i) {
      Fail(Error::kInvalidUTF8, i);
      return false;
    }
    i += length;
  }
  return true;
}

bool Parser::Consume(std::string_view token) {
  if (text_.substr(pos_, token.size()) != token) return false;
  pos_ += token.size();
  return true;
}

std::nullopt_t Parser::Fail(Error error, size_t offset) {
  error_ = error;
  error_offset_ = offset;
  return std::nullopt;
}

std::string Parser::ErrorMessage() const {
  size_t line = 1;
  size_t column = 1;
  for (size_t i = 0; i < error_offset_ && i < text_.size(); ++i) {
    if (text_[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return "Line: " + std::to_string(line) + ", column: " + std::to_string(column) + ", " +
         Describe(error_);
}

}  // namespace

std::optional<Value> ReadJson(std::string_view text, std::string* error_message) {
  return Parser(text).Parse(error_message);
}

}  // namespace lite
