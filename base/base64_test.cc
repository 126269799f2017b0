#include "base/base64.h"

#include <gtest/gtest.h>

#include "base/md5.h"

namespace lite {
namespace {

TEST(Base64Test, KnownVectorsAndPadding) {
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode("f"), "Zg==");
  EXPECT_EQ(Base64Encode("fo"), "Zm8=");
  EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy");
  EXPECT_EQ(Base64Decode("Zg=="), std::string("f"));
  EXPECT_EQ(Base64Decode("Zm8="), std::string("fo"));
  EXPECT_EQ(Base64Decode(Base64Encode(std::string("\0\xff\x01", 3))),
            std::string("\0\xff\x01", 3));
}

TEST(Base64Test, RejectsMalformedText) {
  EXPECT_FALSE(Base64Decode("Zg="));        // wrong length
  EXPECT_FALSE(Base64Decode("Z=g="));       // padding inside
  EXPECT_FALSE(Base64Decode("Zm9v\nYmFy")); // white space
  EXPECT_FALSE(Base64Decode("Zm9*"));
}

TEST(Md5Test, LowerCaseHex) {
  EXPECT_EQ(MD5HexDigest(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(MD5HexDigest("abc"), "900150983cd24fb0d6963f7d28e17f72");
}

}  // namespace
}  // namespace lite
