#include "crash/multipart_body.h"

#include <gtest/gtest.h>

#include <set>

#include "base/crypto_random.h"

namespace lite {
namespace {

using namespace std::string_literals;

TEST(MultipartBodyTest, BoundaryIsDrawnFromTheAlphabet) {
  // The draws reach both ends of the alphabet.
  uint32_t next = 0;
  const std::string boundary =
      MakeMultipartBoundary([&next](uint32_t bound) { return bound - 1 - (next++ % 2) * (bound - 1); });
  EXPECT_EQ(boundary, "---MultipartBoundary-z0z0z0z0z0z0z0z0z0z0z0z0z0z0z0z0---");
  std::set<std::string> seen;
  for (int i = 0; i < 20; ++i) {
    const std::string drawn = MakeMultipartBoundary(CryptoRandomBelow);
    ASSERT_EQ(drawn.size(), 56u);
    ASSERT_EQ(drawn.rfind("---MultipartBoundary-", 0), 0u);
    seen.insert(drawn);
  }
  EXPECT_EQ(seen.size(), 20u);
}

TEST(MultipartBodyTest, NamesCannotLeaveTheirQuotes) {
  EXPECT_EQ(EncodeMultipartName("a\"b\r\nc%d e"), "a%22b%0d%0ac%25d e");
}

TEST(MultipartBodyTest, FieldsThenFilesInNameOrder) {
  MultipartBody body("B");
  body.SetField("ver", "1");
  body.SetField("prod", "old");
  body.SetField("prod", "Tolvar");
  ASSERT_TRUE(body.SetFile("upload_file_minidump", "u\"id.dmp", "application/octet-stream",
                           std::string("MD\0MP", 5)));
  ASSERT_TRUE(body.SetFile("attachment", "a.txt", "", "text"));
  EXPECT_FALSE(body.SetFile("bad", "b", "text/plain; charset=utf-8", "x"));
  EXPECT_EQ(body.ContentType(), "multipart/form-data; boundary=B");
  EXPECT_EQ(body.Render(),
            "--B\r\nContent-Disposition: form-data; name=\"prod\"\r\n\r\nTolvar\r\n"
                        "--B\r\nContent-Disposition: form-data; name=\"ver\"\r\n\r\n1\r\n"
                        "--B\r\nContent-Disposition: form-data; name=\"attachment\"; "
                        "filename=\"a.txt\"\r\nContent-Type: application/octet-stream\r\n\r\n"
                        "text\r\n"
                        "--B\r\nContent-Disposition: form-data; name=\"upload_file_minidump\"; "
                        "filename=\"u%22id.dmp\"\r\nContent-Type: application/octet-stream\r\n\r\n"
                        "MD\0MP\r\n"
                        "--B--\r\n"s);
}

}  // namespace
}  // namespace lite
