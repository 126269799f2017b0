#include "net/request_headers.h"

#include "base/platform_request_headers.h"
#include "base/utf.h"
#include "gtest/gtest.h"

namespace lite {
namespace {

TEST(RequestHeadersTest, BlockAndRangeLine) {
  EXPECT_EQ(UTF16ToUTF8(BuildRequestHeaders(10, 0, 4651)),
            "Accept: */*\r\nSec-CH-UA-Platform: \"Windows\"\r\n"
            "Sec-CH-UA-Platform-Version: \"10.0.4651\"");
  EXPECT_EQ(UTF16ToUTF8(RangeHeaderLine(4294967295u)), "Range: bytes=4294967295-");
}

TEST(RequestHeadersTest, ContentRangeMustStartAtTheOffset) {
  uint64_t size = 0;
  EXPECT_TRUE(ContentRangeStartsAt("bytes 400-999/1000", 400, &size));
  EXPECT_EQ(size, 1000u);
  size = 7;
  EXPECT_TRUE(ContentRangeStartsAt("bytes 400-999/*", 400, &size));
  EXPECT_EQ(size, 7u);
  for (const char* wrong : {"bytes 0-999/1000", "bytes 401-999/1000", "bytes 400-999/999",
                            "bytes 400-300/1000", "bytes */1000", "items 400-999/1000",
                            "bytes 400-999", "bytes 400-999/1000x", "",
                            "bytes 400-99999999999999999999/1"}) {
    EXPECT_FALSE(ContentRangeStartsAt(wrong, 400, &size)) << wrong;
  }
}

}  // namespace
}  // namespace lite
