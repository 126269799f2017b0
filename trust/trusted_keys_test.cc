#include "trust/trusted_keys.h"

#include <gtest/gtest.h>

#include <cstring>

namespace lite {
namespace {

TEST(TrustedKeysTest, TenNumberedKeysOfTheFixedForm) {
  for (int i = 0; i < kTrustedKeyCount; ++i) {
    EXPECT_EQ(kTrustedKeys[i].number, i);
    EXPECT_EQ(std::strlen(kTrustedKeys[i].spki_base64), kTrustedKeyBase64Length) << i;
    const std::optional<std::string> der = DecodeTrustedKey(i);
    ASSERT_TRUE(der.has_value()) << i;
    // SEQUENCE of 159 bytes: the DER form of a 1024-bit RSA key with e = 65537.
    EXPECT_EQ(der->size(), 162u) << i;
    EXPECT_EQ(der->substr(0, 3), std::string("\x30\x81\x9f", 3)) << i;
  }
  EXPECT_FALSE(DecodeTrustedKey(-1).has_value());
  EXPECT_FALSE(DecodeTrustedKey(kTrustedKeyCount).has_value());
  EXPECT_FALSE(DecodeTrustedKey(0x10000).has_value());
}

}  // namespace
}  // namespace lite
