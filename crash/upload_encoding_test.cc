#include <gtest/gtest.h>
#include <zlib.h>

#include "crash/gunzip_for_testing.h"
#include "crash/gzip.h"
#include "crash/http_chunks.h"
#include "crash/upload_url.h"

namespace lite {
namespace {

TEST(UploadEncodingTest, GzipRoundTrips) {
  std::string large;
  for (int i = 0; i < 200000; ++i) large.push_back(static_cast<char>((i * 7 + i / 251) & 0xFF));
  for (const std::string& data : {std::string(), std::string("MDMP\0\0", 6), large}) {
    const std::optional<std::string> packed = GzipCompress(data);
    ASSERT_TRUE(packed);
    ASSERT_GE(packed->size(), 18u);
    EXPECT_EQ(packed->substr(0, 3), "\x1f\x8b\x08");  // gzip member, deflate
    EXPECT_EQ(Gunzip(*packed), data);
  }
}

TEST(UploadEncodingTest, ChunkFraming) {
  const struct {
    std::string body;
    size_t piece;
    std::string framed;
  } cases[] = {
      {"", 4, "0\r\n\r\n"},
      {"abc", 4, "3\r\nabc\r\n0\r\n\r\n"},
      {"abcdefghijklmnopq", 16, "10\r\nabcdefghijklmnop\r\n1\r\nq\r\n0\r\n\r\n"},
      {std::string(32768 + 26, 'x'), 32768,
       "8000\r\n" + std::string(32768, 'x') + "\r\n1a\r\n" + std::string(26, 'x') + "\r\n0\r\n\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(FrameHttpChunks(c.body, c.piece), c.framed);
}

TEST(UploadEncodingTest, UploadUrl) {
  const struct {
    CrashAnnotations annotations;
    std::string url;
  } cases[] = {
      {{}, "https://crash.example/submit"},
      {{{"ver", "26.12.0.1"}, {"prod", "Tolvar"}, {"plat", "Win32"}},
       "https://crash.example/submit?product=Tolvar&version=26.12.0.1"},
      {{{"guid", "a b/é"}}, "https://crash.example/submit?guid=a%20b%2F%C3%A9"},
      {{{"prod", "-_.~Az09!*"}}, "https://crash.example/submit?product=-_.~Az09%21%2A"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CrashUploadUrl("https://crash.example", c.annotations), c.url);
  }
}

TEST(UploadEncodingTest, QueryParameterStaysWithin127BytesAndWholeEscapes) {
  EXPECT_EQ(FormatQueryParameter("v", std::string(200, 'a')), "v=" + std::string(125, 'a'));
  // 122 bytes, then an escape that would reach 125 and one that would not fit.
  const std::string cut = FormatQueryParameter("v", std::string(120, 'a') + "  ");
  EXPECT_EQ(cut, "v=" + std::string(120, 'a') + "%20");
  EXPECT_EQ(FormatQueryParameter("v", std::string(123, 'a') + " "), "v=" + std::string(123, 'a'));
}

TEST(UploadEncodingTest, UserAgent) {
  const ModuleVersion winhttp{(10u << 16) | 0, (19041u << 16) | 3570, 0};
  const ModuleVersion kernel32{(6u << 16) | 1, (7601u << 16) | 24545, 0x40004};
  ModuleVersion not_nt = kernel32;
  not_nt.file_os = 0x4;
  EXPECT_EQ(CrashpadUserAgent(winhttp, kernel32, true),
            "Crashpad/0.8.0 WinHTTP/10.0.19041.3570 Windows_NT/6.1.7601.24545 (x86; WoW64)");
  EXPECT_EQ(CrashpadUserAgent(std::nullopt, kernel32, false),
            "Crashpad/0.8.0 WinHTTP Windows_NT/6.1.7601.24545 (x86)");
  EXPECT_EQ(CrashpadUserAgent(winhttp, not_nt, true), "Crashpad/0.8.0 WinHTTP/10.0.19041.3570");
  EXPECT_EQ(CrashpadUserAgent(winhttp, std::nullopt, false),
            "Crashpad/0.8.0 WinHTTP/10.0.19041.3570");
}

}  // namespace
}  // namespace lite
