#include "distribution/distrib_params.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

DistribParamMap Parse(std::string_view text) {
  DistribParamMap params;
  ParseDistribParams(text, &params);
  return params;
}

TEST(ParseDistribParamsTest, SplitsPairsAtTheFirstEqualsSign) {
  EXPECT_EQ(Parse("a&b=1=2&&c"),
            (DistribParamMap{{"a", ""}, {"b", "1=2"}, {"", ""}, {"c", ""}}));
  EXPECT_EQ(Parse("brand=x&lang=ru&lang=uk"), (DistribParamMap{{"brand", "x"}, {"lang", "uk"}}));
  // Taken as they are: no decoding, no trimming, an empty value after "=".
  EXPECT_EQ(Parse(" k =%20&=v&e="), (DistribParamMap{{" k ", "%20"}, {"", "v"}, {"e", ""}}));
  EXPECT_EQ(Parse("a&"), (DistribParamMap{{"a", ""}}));
  EXPECT_TRUE(Parse("").empty());
}

TEST(ParseDistribParamsTest, KeepsParametersAlreadyThere) {
  DistribParamMap params{{"old", "1"}, {"lang", "en"}};
  ParseDistribParams("lang=de", &params);
  EXPECT_EQ(params, (DistribParamMap{{"old", "1"}, {"lang", "de"}}));
}

TEST(BuildDistribInfoJsonTest, WritesCompactStringsInByteOrder) {
  EXPECT_EQ(BuildDistribInfoJson(Parse("b=2&a=1&lang=de&B=\"q\"")),
            R"({"B":"\"q\"","a":"1","b":"2","lang":"de"})");
  EXPECT_EQ(BuildDistribInfoJson(Parse("name=\xC3\xA9")), "{\"name\":\"\xC3\xA9\"}");
  // Text that would be altered on its way into JSON is refused.
  EXPECT_EQ(BuildDistribInfoJson(Parse("name=\xFF")), std::nullopt);
  EXPECT_EQ(BuildDistribInfoJson(Parse("\xC3=1")), std::nullopt);
}

}  // namespace
}  // namespace lite
