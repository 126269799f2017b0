#include "base/json/json_writer.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

#include "base/json/json_reader.h"
#include "base/json/json_value.h"
#include "gtest/gtest.h"

namespace lite {

// Failure output shows values as JSON.
inline void PrintTo(const Value& value, std::ostream* os) { *os << WriteJson(value); }

namespace {

using namespace std::string_literals;

Value List(std::initializer_list<Value> items) { return Value(Value::List(items)); }

TEST(JsonWriterTest, Scalars) {
  EXPECT_EQ(WriteJson(Value()), "null");
  EXPECT_EQ(WriteJson(Value(true)), "true");
  EXPECT_EQ(WriteJson(Value(false)), "false");
  EXPECT_EQ(WriteJson(Value(0)), "0");
  EXPECT_EQ(WriteJson(Value(-7)), "-7");
  EXPECT_EQ(WriteJson(Value(std::numeric_limits<int>::max())), "2147483647");
  EXPECT_EQ(WriteJson(Value(std::numeric_limits<int>::min())), "-2147483648");
  EXPECT_EQ(WriteJson(Value("")), "\"\"");
}

TEST(JsonWriterTest, DoublesStayDoubles) {
  EXPECT_EQ(WriteJson(Value(1.5)), "1.5");
  EXPECT_EQ(WriteJson(Value(0.1)), "0.1");
  EXPECT_EQ(WriteJson(Value(-2.25)), "-2.25");
  // A whole number gets ".0" so that it does not read back as an integer.
  EXPECT_EQ(WriteJson(Value(2.0)), "2.0");
  EXPECT_EQ(WriteJson(Value(0.0)), "0.0");
  EXPECT_EQ(WriteJson(Value(-0.0)), "-0.0");
  EXPECT_EQ(WriteJson(Value(123456.0)), "123456.0");
  // The shorter of the plain and the exponent forms.
  EXPECT_EQ(WriteJson(Value(3000000000.0)), "3e+09");
  // An exponent already marks a double.
  EXPECT_EQ(WriteJson(Value(1e21)), "1e+21");
  EXPECT_EQ(WriteJson(Value(1e-7)), "1e-07");
  // JSON has no NaN or infinity.
  EXPECT_EQ(WriteJson(Value(std::nan(""))), "null");
  EXPECT_EQ(WriteJson(Value(std::numeric_limits<double>::infinity())), "null");
  EXPECT_EQ(WriteJson(List({Value(-std::numeric_limits<double>::infinity())})), "[null]");
}

TEST(JsonWriterTest, DoublesRoundTripExactly) {
  for (double d : {0.1, 1.0 / 3, 2.0 / 3, 1e-300, 123456789.123456789, 9007199254740993.0,
                   DBL_MAX, -DBL_MAX, DBL_MIN, std::numeric_limits<double>::denorm_min(),
                   DBL_EPSILON, 1e15, 1e16, 1e22, 5e-324, 0.30000000000000004}) {
    const std::string text = WriteJson(Value(d));
    const std::optional<Value> read = ReadJson(text, nullptr);
    ASSERT_TRUE(read) << text;
    ASSERT_TRUE(read->is_double()) << text;
    EXPECT_EQ(*read->GetIfDouble(), d) << text;
  }
}

TEST(JsonWriterTest, EscapesStrings) {
  EXPECT_EQ(WriteJson(Value("\"\\/\b\f\n\r\t")), R"("\"\\/\b\f\n\r\t")");
  // Other control characters take \u; there is no \v in standard JSON.
  EXPECT_EQ(WriteJson(Value("\v\x01\x1F"s + '\0')), R"("\u000B\u0001\u001F\u0000")");
  EXPECT_EQ(WriteJson(Value(" ~\x7F")), "\" ~\x7F\"");
  // Non-ASCII stays as UTF-8.
  EXPECT_EQ(WriteJson(Value("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80")),
            "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"");
  // Bytes that are not UTF-8 become U+FFFD, so the output stays readable.
  EXPECT_EQ(WriteJson(Value("a\xFF" "b")), "\"a\xEF\xBF\xBD" "b\"");
  EXPECT_EQ(WriteJson(Value(Value::Dict{{"k\xC3", Value(1)}})), "{\"k\xEF\xBF\xBD\":1}");
  // Keys are escaped like any string.
  EXPECT_EQ(WriteJson(Value(Value::Dict{{"a\"b\n", Value(1)}})), R"({"a\"b\n":1})");
}

TEST(JsonWriterTest, CompactForm) {
  Value value(Value::Dict{
      {"list", List({Value(1), Value("two"), Value(), List({}), Value(Value::Dict{})})},
      {"dict",
       Value(Value::Dict{{"x", Value(false)}, {"y", Value(Value::Dict{{"z", Value(0.5)}})}})},
  });
  EXPECT_EQ(WriteJson(value), R"({"dict":{"x":false,"y":{"z":0.5}},"list":[1,"two",null,[],{}]})");
  EXPECT_EQ(WriteJson(Value(Value::Dict{})), "{}");
  EXPECT_EQ(WriteJson(List({})), "[]");
}

TEST(JsonWriterTest, KeysInByteOrder) {
  Value value(Value::Dict{{"b", Value(1)},
                          {"\xC3\xA9", Value(2)},
                          {"a", Value(3)},
                          {"B", Value(4)},
                          {"", Value(5)},
                          {"aa", Value(6)},
                          {"_", Value(7)},
                          {"\x7F", Value(8)}});
  EXPECT_EQ(WriteJson(value),
            "{\"\":5,\"B\":4,\"_\":7,\"a\":3,\"aa\":6,\"b\":1,\"\x7F\":8,\"\xC3\xA9\":2}");
  // The order does not depend on the order in the text read.
  EXPECT_EQ(WriteJson(*ReadJson(R"({"\u00e9": 1, "b": 2, "a": 3, "B": 4})", nullptr)),
            "{\"B\":4,\"a\":3,\"b\":2,\"\xC3\xA9\":1}");
}

TEST(JsonWriterTest, PrettyForm) {
  EXPECT_EQ(WriteJsonPretty(Value(Value::Dict{{"a", Value("1")}, {"b", Value("2")}})),
            "{\r\n   \"a\": \"1\",\r\n   \"b\": \"2\"\r\n}\r\n");
  EXPECT_EQ(WriteJsonPretty(Value(Value::Dict{{"only", Value(1)}})),
            "{\r\n   \"only\": 1\r\n}\r\n");

  Value nested(Value::Dict{
      {"a", Value(Value::Dict{{"b", List({Value(1), Value(Value::Dict{{"c", Value()}})})},
                              {"e", Value(Value::Dict{})}})},
      {"d", List({})},
      {"z", Value(true)},
  });
  EXPECT_EQ(WriteJsonPretty(nested),
            "{\r\n"
            "   \"a\": {\r\n"
            "      \"b\": [\r\n"
            "         1,\r\n"
            "         {\r\n"
            "            \"c\": null\r\n"
            "         }\r\n"
            "      ],\r\n"
            "      \"e\": {}\r\n"
            "   },\r\n"
            "   \"d\": [],\r\n"
            "   \"z\": true\r\n"
            "}\r\n");
  EXPECT_EQ(WriteJsonPretty(List({Value(1.0), Value("x")})), "[\r\n   1.0,\r\n   \"x\"\r\n]\r\n");
  // Only the outermost value ends with a line break, empty containers included.
  EXPECT_EQ(WriteJsonPretty(Value(Value::Dict{})), "{}\r\n");
  EXPECT_EQ(WriteJsonPretty(List({})), "[]\r\n");
  EXPECT_EQ(WriteJsonPretty(Value(5)), "5\r\n");
  // Strings are escaped as in the compact form.
  EXPECT_EQ(WriteJsonPretty(Value(Value::Dict{{"k\t", Value("\r\n")}})),
            "{\r\n   \"k\\t\": \"\\r\\n\"\r\n}\r\n");
}

TEST(JsonWriterTest, ReadBackGivesTheSameValue) {
  const char* kText =
      "// seed\n"
      "{\"s\": \"a\\u0000\\x01\\v\\xE9\\uD83D\\uDE00\\\"\", \"i\": [0, -1, 2147483647],\n"
      " /* doubles */ \"d\": [0.5, -0.0, 1e300, 4e9, 1.0], \"n\": null, \"b\": [true, false],\n"
      " \"o\": {\"\": {}, \"l\": [[], [[]]]}}";
  const std::optional<Value> value = ReadJson(kText, nullptr);
  ASSERT_TRUE(value);
  for (const std::string& written : {WriteJson(*value), WriteJsonPretty(*value)}) {
    std::string error;
    const std::optional<Value> again = ReadJson(written, &error);
    ASSERT_TRUE(again) << error << "\n" << written;
    EXPECT_EQ(*again, *value) << written;
  }
  EXPECT_EQ(WriteJson(*value->FindPath("s")),
            "\"a\\u0000\\u0001\\u000B\xC3\xA9\xF0\x9F\x98\x80\\\"\"");
  EXPECT_EQ(WriteJson(*value->FindPath("d")), "[0.5,-0.0,1e+300,4e+09,1.0]");
}

}  // namespace
}  // namespace lite
