#include "base/utf.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

TEST(UtfTest, RoundTripsEveryPlane) {
  const std::u16string text = u"a\u00e9\u0416\u20ac\U0001F600z";
  const std::string utf8 = UTF16ToUTF8(text);
  EXPECT_EQ(utf8, "a\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(UTF8ToUTF16(utf8), text);
}

TEST(UtfTest, IllFormedInputIsReplacedOrRejected) {
  // Lone surrogates, overlong forms, truncated sequences, encoded surrogates.
  EXPECT_EQ(UTF16ToUTF8(std::u16string(1, 0xD800)), "\xEF\xBF\xBD");
  EXPECT_EQ(UTF16ToUTF8(std::u16string(1, 0xDC00) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(UTF8ToUTF16("\xC0\xAF"), u"\uFFFD\uFFFD");
  EXPECT_EQ(UTF8ToUTF16("\xE2\x82"), u"\uFFFD\uFFFD");
  EXPECT_EQ(UTF8ToUTF16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  std::u16string wide;
  std::string narrow;
  EXPECT_FALSE(UTF8ToUTF16Strict("ok\xFF", &wide));
  EXPECT_FALSE(UTF16ToUTF8Strict(std::u16string(1, 0xDBFF), &narrow));
  EXPECT_TRUE(UTF8ToUTF16Strict("ok", &wide));
  EXPECT_EQ(wide, u"ok");
}

TEST(UtfTest, ByteWiseWideningAndNarrowing) {
  EXPECT_EQ(WidenBytes("de\xE9"), std::u16string(u"de\u00e9"));
  // Narrowing keeps only the low byte: U+0416 becomes 0x16.
  EXPECT_EQ(NarrowLowBytes(u"a\u0416"), std::string("a\x16"));
  EXPECT_EQ(ToLowerASCII("SiLeNt-\xC3\x89"), "silent-\xC3\x89");
  EXPECT_EQ(ToLowerASCII(u"/SILENT\u00C9"), u"/silent\u00C9");
}

}  // namespace
}  // namespace lite
