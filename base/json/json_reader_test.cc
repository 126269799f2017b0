#include "base/json/json_reader.h"

#include <cmath>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/json/json_value.h"
#include "base/json/json_writer.h"
#include "gtest/gtest.h"

namespace lite {

// Failure output shows values as JSON.
inline void PrintTo(const Value& value, std::ostream* os) { *os << WriteJson(value); }

namespace {

using namespace std::string_literals;

// The string a text holding one JSON string reads as; "<error>" otherwise.
std::string ReadString(std::string_view text) {
  std::string error;
  std::optional<Value> value = ReadJson(text, &error);
  if (!value) return "<error> " + error;
  const std::string* s = value->GetIfString();
  return s ? *s : "<not a string>";
}

// The error message for |text|, which must be rejected.
std::string ErrorFor(std::string_view text) {
  std::string error;
  EXPECT_FALSE(ReadJson(text, &error).has_value()) << "accepted: " << text;
  return error;
}

// The problem part of the error message, without line and column.
std::string ProblemFor(std::string_view text) {
  const std::string error = ErrorFor(text);
  const size_t separator = error.find(", ", error.find("column: "));
  return separator == std::string::npos ? error : error.substr(separator + 2);
}

std::string Nested(char open, char close, int depth) {
  return std::string(depth, open) + std::string(depth, close);
}

TEST(JsonReaderTest, ReadsEveryType) {
  std::optional<Value> value = ReadJson(
      R"({"n": null, "t": true, "f": false, "i": -42, "d": 2.5, "s": "x",
          "l": [1, "two", [3]], "o": {"k": "v"}, "e": {}, "el": []})",
      nullptr);
  ASSERT_TRUE(value);
  ASSERT_TRUE(value->is_dict());
  EXPECT_EQ(value->GetIfDict()->size(), 10u);
  EXPECT_TRUE(value->FindPath("n")->is_none());
  EXPECT_EQ(*value->FindPath("t"), Value(true));
  EXPECT_EQ(*value->FindPath("f"), Value(false));
  EXPECT_EQ(*value->FindPath("i"), Value(-42));
  EXPECT_EQ(*value->FindPath("d"), Value(2.5));
  EXPECT_EQ(*value->FindPath("s"), Value("x"));
  EXPECT_EQ(*value->FindPath("l"),
            Value(Value::List{Value(1), Value("two"), Value(Value::List{Value(3)})}));
  EXPECT_EQ(*value->FindPath("o.k"), Value("v"));
  EXPECT_EQ(*value->FindPath("e"), Value(Value::Dict{}));
  EXPECT_EQ(*value->FindPath("el"), Value(Value::List{}));

  // Any value may be the root.
  EXPECT_EQ(ReadJson("7", nullptr), Value(7));
  EXPECT_EQ(ReadJson(" \"s\" ", nullptr), Value("s"));
  EXPECT_EQ(ReadJson("null", nullptr), Value());
  EXPECT_EQ(ReadJson("\t\r\n false \r\n", nullptr), Value(false));
}

TEST(JsonReaderTest, IntegersFittingInt32AreIntegersOthersDoubles) {
  EXPECT_EQ(ReadJson("2147483647", nullptr), Value(2147483647));
  EXPECT_EQ(ReadJson("-2147483648", nullptr), Value(-2147483647 - 1));
  EXPECT_EQ(ReadJson("2147483648", nullptr), Value(2147483648.0));
  EXPECT_EQ(ReadJson("-2147483649", nullptr), Value(-2147483649.0));
  EXPECT_EQ(ReadJson("12345678901234567890", nullptr), Value(12345678901234567890.0));
  EXPECT_EQ(ReadJson("0", nullptr), Value(0));
  EXPECT_EQ(ReadJson("-0", nullptr), Value(0));
  // A fraction or an exponent makes a double even when the value is whole.
  EXPECT_EQ(ReadJson("1.0", nullptr), Value(1.0));
  EXPECT_EQ(ReadJson("1e2", nullptr), Value(100.0));
  EXPECT_EQ(ReadJson("-1.5E+3", nullptr), Value(-1500.0));
  EXPECT_EQ(ReadJson("25e-1", nullptr), Value(2.5));
  EXPECT_EQ(ReadJson("1e-07", nullptr), Value(1e-7));
  EXPECT_EQ(ReadJson("0.1", nullptr), Value(0.1));
  EXPECT_EQ(ReadJson("1.7976931348623157e308", nullptr), Value(1.7976931348623157e308));
}

TEST(JsonReaderTest, NumbersBeyondDoubleRange) {
  EXPECT_EQ(ProblemFor("1e309"), "Number too large for a double.");
  EXPECT_EQ(ProblemFor("-1e400"), "Number too large for a double.");
  EXPECT_EQ(ProblemFor("1" + std::string(400, '0')), "Number too large for a double.");
  // Still 1e350 despite the negative exponent.
  EXPECT_EQ(ProblemFor("1" + std::string(400, '0') + "e-50"), "Number too large for a double.");

  // Too small for a double is zero, not an error.
  std::optional<Value> tiny = ReadJson("1e-400", nullptr);
  ASSERT_TRUE(tiny && tiny->is_double());
  EXPECT_EQ(*tiny->GetIfDouble(), 0.0);
  tiny = ReadJson("-1e-400", nullptr);
  ASSERT_TRUE(tiny && tiny->is_double());
  EXPECT_TRUE(std::signbit(*tiny->GetIfDouble()));
  EXPECT_EQ(ReadJson("0." + std::string(400, '0') + "1e50", nullptr), Value(0.0));
  EXPECT_EQ(ReadJson("1e-99999999999999999999", nullptr), Value(0.0));
  EXPECT_EQ(ProblemFor("1e99999999999999999999"), "Number too large for a double.");
}

TEST(JsonReaderTest, RejectsNumbersOutsideTheGrammar) {
  for (const char* text : {"01", "-01", "00", "+1", ".5", "-.5", "1.", "1.e5", "0x1F", "1e",
                           "1e+", "1E-", "-", "--1", "1.5.2", "1e5e5", "1-2", "-Infinity",
                           "12abc"}) {
    EXPECT_EQ(ProblemFor(text), "Invalid number.") << text;
  }
  EXPECT_EQ(ErrorFor("[1, 012]"), "Line: 1, column: 5, Invalid number.");
  EXPECT_EQ(ProblemFor("Infinity"), "Unexpected token.");
  EXPECT_EQ(ProblemFor("NaN"), "Unexpected token.");
}

TEST(JsonReaderTest, StandardEscapes) {
  EXPECT_EQ(ReadString(R"("\"\\\/\b\f\n\r\t")"), "\"\\/\b\f\n\r\t");
  EXPECT_EQ(ReadString(R"("\u0041\u00e9\u20AC")"), "A\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(ReadString(R"("\uD83D\uDE00")"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(ReadString(R"("\udbff\udfff")"), "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(ReadString(R"("a\u0000b")"), "a\0b"s);
}

TEST(JsonReaderTest, DialectEscapesAndRawControlCharacters) {
  EXPECT_EQ(ReadString(R"("\v")"), "\x0B");
  EXPECT_EQ(ReadString(R"("\x41\x7a")"), "Az");
  // \xHH names the code point U+00HH, stored as UTF-8.
  EXPECT_EQ(ReadString(R"("\xE9\xff")"), "\xC3\xA9\xC3\xBF");
  EXPECT_EQ(ReadString(R"("\x00")"), "\0"s);
  EXPECT_EQ(ReadString(R"("\x412")"), "A2");  // exactly two digits
  // Every control character may appear unescaped.
  std::string raw;
  for (char c = 0; c < 0x20; ++c) raw.push_back(c);
  EXPECT_EQ(ReadString("\"" + raw + "\""), raw);
}

TEST(JsonReaderTest, RejectsBadEscapes) {
  for (const char* text : {R"("\a")", R"("\'")", R"("\U0041")", R"("\x4")", R"("\xG1")",
                           R"("\x")", R"("\u12")", R"("\u12G4")", R"("\u")", R"("\0")"}) {
    EXPECT_EQ(ProblemFor(text), "Invalid escape sequence.") << text;
  }
  EXPECT_EQ(ErrorFor(R"(["ok", "ab\q"])"), "Line: 1, column: 11, Invalid escape sequence.");
}

TEST(JsonReaderTest, RejectsLoneSurrogates) {
  for (const char* text : {R"("\uD800")", R"("\uD800x")", R"("\uD800\u0041")",
                           R"("\uD800\uD800")", R"("\uDC00")", R"("\uDFFF\uD800")",
                           R"("\uD800\n")", R"("\uDBFF\uDC0")"}) {
    EXPECT_EQ(ProblemFor(text), "Unpaired surrogate in a \\u escape.") << text;
  }
}

TEST(JsonReaderTest, ChecksUTF8Everywhere) {
  const std::string good = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
  EXPECT_EQ(ReadString("\"" + good + "\""), good);
  for (const char* bad : {"\xC3", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xFF", "\x80", "\xE2\x82", "\xF8\x88\x80\x80\x80"}) {
    EXPECT_EQ(ErrorFor("\"a" + std::string(bad) + "\""),
              "Line: 1, column: 3, Invalid UTF-8 sequence.")
        << bad;
    EXPECT_EQ(ProblemFor("// a" + std::string(bad) + "\n1"), "Invalid UTF-8 sequence.");
    EXPECT_EQ(ProblemFor("1 /* " + std::string(bad) + " */"), "Invalid UTF-8 sequence.");
  }
  // A sequence cut short by the end of the text.
  EXPECT_EQ(ProblemFor("\"\xF0\x9F\x98"), "Invalid UTF-8 sequence.");
  // Outside strings and comments non-ASCII is no token at all.
  EXPECT_EQ(ProblemFor("\xC3\xA9"), "Unexpected token.");
}

TEST(JsonReaderTest, CommentsWhereverWhitespaceIsAllowed) {
  EXPECT_EQ(ReadJson("// head line\n{\"a\": 1}", nullptr), Value(Value::Dict{{"a", Value(1)}}));
  // Seed files may start with a line of base64 behind "//".
  EXPECT_EQ(ReadJson("//eyJhIjoxfQ+/==\r\n{\"a\":1}", nullptr),
            Value(Value::Dict{{"a", Value(1)}}));

  std::optional<Value> value = ReadJson(
      "/*0*/{/*1*/\"k\"/*2*/:/*3*/[/*4*/1/*5*/,/*6*/2/*7*/]/*8*/,//9\n\"m\"//10\n://11\n"
      "null//12\n}/*13*/ // 14",
      nullptr);
  ASSERT_TRUE(value);
  EXPECT_EQ(*value->FindPath("k"), Value(Value::List{Value(1), Value(2)}));
  EXPECT_TRUE(value->FindPath("m")->is_none());

  EXPECT_EQ(ReadJson("/* multi\n line // with slashes\n*/ 5", nullptr), Value(5));
  EXPECT_EQ(ReadJson("// */ is no end here\n5", nullptr), Value(5));
  EXPECT_EQ(ReadJson("5 /**/", nullptr), Value(5));
  EXPECT_EQ(ReadJson("5 /***/", nullptr), Value(5));
  EXPECT_EQ(ReadJson("5//", nullptr), Value(5));
  // Inside a string a comment marker is just text.
  EXPECT_EQ(ReadString(R"("// /* x */")"), "// /* x */");
  // Block comments do not nest.
  EXPECT_EQ(ProblemFor("/* /* */ */ 1"), "Unexpected token.");
}

TEST(JsonReaderTest, RejectsBadComments) {
  EXPECT_EQ(ErrorFor("1 /* never closed"), "Line: 1, column: 3, Unterminated block comment.");
  EXPECT_EQ(ProblemFor("/*/ 1"), "Unterminated block comment.");
  EXPECT_EQ(ProblemFor("[1 /* */ /*"), "Unterminated block comment.");
  EXPECT_EQ(ErrorFor("[1 / 2]"),
            "Line: 1, column: 4, Invalid comment: '/' must be followed by '/' or '*'.");
  EXPECT_EQ(ProblemFor("1 /"), "Invalid comment: '/' must be followed by '/' or '*'.");
  EXPECT_EQ(ProblemFor("# not a comment\n1"), "Unexpected token.");
}

TEST(JsonReaderTest, RejectsTrailingCommas) {
  // The error points at the comma itself.
  EXPECT_EQ(ErrorFor("[1,]"), "Line: 1, column: 3, Trailing comma not allowed.");
  EXPECT_EQ(ErrorFor("[1, 2 ,  ]"), "Line: 1, column: 7, Trailing comma not allowed.");
  EXPECT_EQ(ErrorFor("{\"a\": 1,}"), "Line: 1, column: 8, Trailing comma not allowed.");
  EXPECT_EQ(ProblemFor("[1, /* gap */ // gap\n ]"), "Trailing comma not allowed.");
  EXPECT_EQ(ProblemFor("{\"a\": [1,],}"), "Trailing comma not allowed.");
  EXPECT_EQ(ProblemFor("[,]"), "Unexpected token.");
  EXPECT_EQ(ProblemFor("[1,,2]"), "Unexpected token.");
  EXPECT_EQ(ProblemFor("{,}"), "Object keys must be strings.");
}

TEST(JsonReaderTest, RejectsBrokenStructure) {
  EXPECT_EQ(ErrorFor("[1 2]"), "Line: 1, column: 4, Expected ',' or ']' after a list item.");
  EXPECT_EQ(ErrorFor("{\"a\":1 \"b\":2}"),
            "Line: 1, column: 8, Expected ',' or '}' after an object member.");
  EXPECT_EQ(ProblemFor("[1}"), "Expected ',' or ']' after a list item.");
  EXPECT_EQ(ProblemFor("{\"a\":1]"), "Expected ',' or '}' after an object member.");
  EXPECT_EQ(ErrorFor("{\"a\" 1}"), "Line: 1, column: 6, Expected ':' after an object key.");
  EXPECT_EQ(ErrorFor("{a: 1}"), "Line: 1, column: 2, Object keys must be strings.");
  EXPECT_EQ(ProblemFor("{1: 1}"), "Object keys must be strings.");
  EXPECT_EQ(ProblemFor("{\"a\": }"), "Unexpected token.");
  for (const char* text : {"[", "[1", "[1,", "{", "{\"a\"", "{\"a\":", "{\"a\":1", "{\"a\":1,"}) {
    EXPECT_EQ(ProblemFor(text), "Unexpected end of text.") << text;
  }
  EXPECT_EQ(ErrorFor("[\"abc"), "Line: 1, column: 2, Unterminated string.");
  EXPECT_EQ(ProblemFor("\"abc\\"), "Unterminated string.");
  for (const char* text : {"tru", "nul", "True", "undefined", "'a'", "]", "}"}) {
    EXPECT_EQ(ProblemFor(text), "Unexpected token.") << text;
  }
}

TEST(JsonReaderTest, RejectsAnythingAfterTheRoot) {
  EXPECT_EQ(ErrorFor("1 2"), "Line: 1, column: 3, Unexpected data after the root value.");
  EXPECT_EQ(ProblemFor("{} x"), "Unexpected data after the root value.");
  EXPECT_EQ(ProblemFor("[]]"), "Unexpected data after the root value.");
  EXPECT_EQ(ProblemFor("truex"), "Unexpected data after the root value.");
  EXPECT_EQ(ProblemFor("{}\n// fine\n/* fine */ {}"), "Unexpected data after the root value.");
  EXPECT_EQ(ProblemFor("\"a\"\0"s), "Unexpected data after the root value.");
}

TEST(JsonReaderTest, RejectsTextsWithoutValue) {
  for (const char* text : {"", " ", "\r\n\t", "// only a comment", "/* only */ // comments\n"}) {
    EXPECT_EQ(ProblemFor(text), "No JSON value in the text.") << text;
  }
  EXPECT_EQ(ErrorFor("\n\n  "), "Line: 3, column: 3, No JSON value in the text.");
}

TEST(JsonReaderTest, DuplicateKeysKeepTheLastValue) {
  std::optional<Value> value = ReadJson(R"({"a": 1, "b": 2, "a": [3], "b": {"c": 4}})", nullptr);
  ASSERT_TRUE(value);
  EXPECT_EQ(value->GetIfDict()->size(), 2u);
  EXPECT_EQ(*value->FindPath("a"), Value(Value::List{Value(3)}));
  EXPECT_EQ(*value->FindPath("b.c"), Value(4));
}

TEST(JsonReaderTest, NestingLimit) {
  for (auto [open, close] : {std::pair{'[', ']'}, std::pair{'{', '}'}}) {
    SCOPED_TRACE(open);
    std::string deepest;
    std::string too_deep;
    if (open == '[') {
      deepest = Nested('[', ']', kMaxJsonDepth);
      too_deep = Nested('[', ']', kMaxJsonDepth + 1);
    } else {
      for (int i = 0; i < kMaxJsonDepth; ++i) deepest = "{\"a\":" + (i ? deepest : "null") + "}";
      too_deep = "{\"a\":" + deepest + "}";
    }
    std::optional<Value> value = ReadJson(deepest, nullptr);
    ASSERT_TRUE(value);
    int depth = 0;
    for (const Value* v = &*value; v && (v->is_list() || v->is_dict()); ++depth) {
      v = v->is_list() ? (v->GetIfList()->empty() ? nullptr : &v->GetIfList()->front())
                       : v->FindPath("a");
    }
    EXPECT_EQ(depth, kMaxJsonDepth);
    EXPECT_EQ(ProblemFor(too_deep), "Nesting deeper than 200 levels.");
  }
  // Points at the bracket that opens level 201.
  EXPECT_EQ(ErrorFor(Nested('[', ']', 201)),
            "Line: 1, column: 201, Nesting deeper than 200 levels.");
  // Far deeper input fails the same way instead of exhausting the stack.
  EXPECT_EQ(ProblemFor(std::string(1000000, '[')), "Nesting deeper than 200 levels.");
  // Depth is nesting, not the number of containers.
  std::string wide = "[";
  for (int i = 0; i < 50; ++i) wide += Nested('[', ']', kMaxJsonDepth - 1) + ",";
  wide += "1]";
  EXPECT_TRUE(ReadJson(wide, nullptr));
}

TEST(JsonReaderTest, ErrorPositionsCountLinesAndColumns) {
  EXPECT_EQ(ErrorFor("{\n  \"a\": 1,\n}"), "Line: 2, column: 9, Trailing comma not allowed.");
  // CR LF ends a line once; the column restarts after the LF.
  EXPECT_EQ(ErrorFor("[\r\n1,\r\n\r\n  x]"), "Line: 4, column: 3, Unexpected token.");
  // Newlines inside strings and comments count too.
  EXPECT_EQ(ErrorFor("[\"a\nb\", /*\n\n*/ @]"), "Line: 4, column: 4, Unexpected token.");
  // Columns count bytes: "é" takes two.
  EXPECT_EQ(ErrorFor("[\"\xC3\xA9\" 1]"),
            "Line: 1, column: 7, Expected ',' or ']' after a list item.");
}

TEST(JsonReaderTest, EveryErrorKindHasItsOwnMessage) {
  const std::vector<std::string> texts = {
      "",        "[",       "@",          "1 1",       "[1,]",     Nested('[', ']', 201),
      "01",      "1e999",   "\"a",        "\"\\q\"",   "\"\\uDC00\"", "\"\xFF\"",
      "/ 1",     "/* 1",    "{1:1}",      "{\"a\" 1}", "[1 1]",    "{\"a\":1 1}",
  };
  std::set<std::string> problems;
  for (const std::string& text : texts) problems.insert(ProblemFor(text));
  EXPECT_EQ(problems.size(), texts.size());
}

TEST(JsonReaderTest, ErrorMessageOutParameter) {
  std::string error = "stale";
  EXPECT_TRUE(ReadJson("[]", &error));
  EXPECT_EQ(error, "");
  EXPECT_FALSE(ReadJson("[", nullptr));
  EXPECT_TRUE(ReadJson("{}", nullptr));
}

TEST(JsonValueTest, AccessorsMatchTheType) {
  Value value(Value::Dict{{"a", Value(Value::Dict{{"b", Value(Value::Dict{{"c", Value(3)}})}})},
                          {"x.y", Value(true)},
                          {"s", Value("text")}});
  EXPECT_EQ(value.type(), Value::Type::kDict);
  const Value& b = value.GetIfDict()->at("a").GetIfDict()->at("b");
  EXPECT_EQ(value.FindPath("a.b.c"), &b.GetIfDict()->at("c"));
  EXPECT_EQ(value.FindPath("a.b")->type(), Value::Type::kDict);
  EXPECT_EQ(value.FindPath("a.b.c.d"), nullptr);  // c is no dictionary
  EXPECT_EQ(value.FindPath("a.x"), nullptr);
  EXPECT_EQ(value.FindPath("a."), nullptr);
  EXPECT_EQ(value.FindPath("x.y"), nullptr);  // dots always separate keys
  EXPECT_EQ(Value(1).FindPath("a"), nullptr);

  // The mutable path edits in place.
  *value.FindPath("a.b.c")->GetIfInt() = 4;
  EXPECT_EQ(*value.FindPath("a.b.c"), Value(4));
  value.FindPath("s")->GetIfString()->append("!");
  EXPECT_EQ(*value.FindPath("s"), Value("text!"));

  const Value s("text");
  EXPECT_TRUE(s.is_string());
  EXPECT_EQ(s.GetIfInt(), nullptr);
  EXPECT_EQ(s.GetIfBool(), nullptr);
  EXPECT_EQ(s.GetIfList(), nullptr);
  EXPECT_EQ(Value(2).type(), Value::Type::kInteger);
  EXPECT_EQ(Value(2.0).type(), Value::Type::kDouble);
  EXPECT_EQ(Value(false).type(), Value::Type::kBoolean);
  EXPECT_EQ(Value().type(), Value::Type::kNone);
  EXPECT_EQ(Value(Value::List{}).type(), Value::Type::kList);
  EXPECT_EQ(Value(2).GetIfDouble(), nullptr);
  EXPECT_EQ(Value(2).GetIfNumber(), 2.0);
  EXPECT_EQ(Value(2.5).GetIfNumber(), 2.5);
  EXPECT_EQ(Value("2").GetIfNumber(), std::nullopt);
}

TEST(JsonValueTest, EqualityIncludesTheType) {
  EXPECT_NE(Value(1), Value(1.0));
  EXPECT_NE(Value(0), Value(false));
  EXPECT_NE(Value(), Value(Value::Dict{}));
  EXPECT_NE(Value(Value::List{}), Value(Value::Dict{}));
  EXPECT_EQ(Value(Value::List{Value("a"), Value()}), Value(Value::List{Value("a"), Value()}));
  EXPECT_NE(Value(Value::Dict{{"a", Value(1)}}), Value(Value::Dict{{"b", Value(1)}}));
  Value copy = Value(Value::Dict{{"a", Value(1)}});
  Value original = copy;
  *copy.FindPath("a")->GetIfInt() = 2;
  EXPECT_NE(copy, original);  // copies are deep
}

}  // namespace
}  // namespace lite
