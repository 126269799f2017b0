#include "ui/images/slide_picture_check.h"

#include <gtest/gtest.h>

#include <string>

namespace lite {
namespace {

std::string Be32(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}
std::string Be16(uint32_t v) { return {static_cast<char>(v >> 8), static_cast<char>(v)}; }

// A PNG signature and IHDR chunk of |width| x |height| (the rest does not
// matter to the header).
std::string PngHeader(uint32_t width, uint32_t height) {
  return std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IHDR" + Be32(width) + Be32(height) +
         std::string("\x08\x02\x00\x00\x00", 5) + Be32(0);
}

// SOI, an APP0 segment, then a baseline start of frame.
std::string JpegHeader(uint32_t width, uint32_t height, unsigned char frame = 0xC0) {
  return std::string("\xFF\xD8\xFF\xE0", 4) + Be16(16) + std::string("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14) +
         "\xFF" + static_cast<char>(frame) + Be16(11) + "\x08" + Be16(height) + Be16(width) +
         std::string("\x01\x01\x11\x00", 4);
}

TEST(SlidePictureCheckTest, OnlyBoundedPngAndJpegByTheirOwnHeader) {
  struct Case {
    const char* what;
    std::string bytes;
    SlideVerdict verdict;
    uint32_t width;
    uint32_t height;
  };
  const Case cases[] = {
      {"png", PngHeader(1520, 900), SlideVerdict::kAccepted, 1520, 900},
      {"jpeg", JpegHeader(1520, 900), SlideVerdict::kAccepted, 1520, 900},
      {"progressive jpeg", JpegHeader(800, 600, 0xC2), SlideVerdict::kAccepted, 800, 600},
      {"jpeg with fill bytes",
       std::string("\xFF\xD8\xFF\xFF\xFF\xC0", 6) + Be16(11) + "\x08" + Be16(20) + Be16(30) +
           std::string("\x01\x01\x11\x00", 4),
       SlideVerdict::kAccepted, 30, 20},
      {"largest png", PngHeader(4096, 2048), SlideVerdict::kAccepted, 4096, 2048},
      {"40000 x 40000 png", PngHeader(40000, 40000), SlideVerdict::kTooManyPixels, 40000, 40000},
      {"wide png", PngHeader(4097, 10), SlideVerdict::kTooManyPixels, 4097, 10},
      {"square png over the pixel limit", PngHeader(4096, 4096), SlideVerdict::kTooManyPixels,
       4096, 4096},
      {"65535 x 65535 jpeg", JpegHeader(65535, 65535), SlideVerdict::kTooManyPixels, 65535,
       65535},
      {"oversized body", PngHeader(10, 10) + std::string(kMaxSlideBytes, '\0'),
       SlideVerdict::kTooManyBytes, 0, 0},
      // Other formats GDI+ would decode, whatever the name says.
      {"placeable wmf", std::string("\xD7\xCD\xC6\x9A\0\0", 6) + std::string(40, '\0'),
       SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"wmf without header", std::string("\x01\x00\x09\x00\x00\x03", 6) + std::string(40, '\0'),
       SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"emf", std::string("\x01\0\0\0\x6C\0\0\0", 8) + std::string(40, '\0'),
       SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"gif", "GIF89a\x10\x00\x10\x00\x00\x00\x00" + std::string(20, '\0'),
       SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"bmp", "BM" + std::string(60, '\0'), SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"tiff", std::string("II*\0", 4) + std::string(40, '\0'), SlideVerdict::kNotPngOrJpeg, 0,
       0},
      {"ico", std::string("\0\0\1\0\1\0", 6) + std::string(40, '\0'), SlideVerdict::kNotPngOrJpeg,
       0, 0},
      {"html error page", "<html><body>Not found</body></html>", SlideVerdict::kNotPngOrJpeg, 0,
       0},
      {"empty", "", SlideVerdict::kNotPngOrJpeg, 0, 0},
      // Broken headers.
      {"truncated png", PngHeader(10, 10).substr(0, 20), SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"png without IHDR first",
       std::string("\x89PNG\r\n\x1a\n", 8) + Be32(13) + "IDAT" + Be32(10) + Be32(10) + "xxxxx",
       SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"png of width 0", PngHeader(0, 10), SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"png over the format's bound", PngHeader(0x80000000u, 1), SlideVerdict::kNotPngOrJpeg, 0,
       0},
      {"jpeg scan before its frame", std::string("\xFF\xD8\xFF\xDA", 4) + Be16(8) + "abcdef",
       SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"jpeg segment past the end", std::string("\xFF\xD8\xFF\xE0", 4) + Be16(400) + "short",
       SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"jpeg frame too short",
       std::string("\xFF\xD8\xFF\xC0", 4) + Be16(5) + std::string("\x08\0\x10", 3),
       SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"jpeg of height 0 (DNL)", JpegHeader(10, 0), SlideVerdict::kNotPngOrJpeg, 0, 0},
      {"jpeg segment length 1", std::string("\xFF\xD8\xFF\xE0\x00\x01", 6) + "xxxx",
       SlideVerdict::kNotPngOrJpeg, 0, 0},
  };
  for (const Case& c : cases) {
    const SlideCheck check = CheckSlideBytes(c.bytes);
    EXPECT_EQ(check.verdict, c.verdict) << c.what << ": " << SlideVerdictText(check.verdict);
    if (c.width != 0) {
      EXPECT_EQ(check.header.width, c.width) << c.what;
      EXPECT_EQ(check.header.height, c.height) << c.what;
    }
  }
  EXPECT_EQ(ReadPictureHeader(PngHeader(3, 4))->format, PictureFormat::kPng);
  EXPECT_EQ(ReadPictureHeader(JpegHeader(3, 4))->format, PictureFormat::kJpeg);
  EXPECT_EQ(CheckSlideBytes(PngHeader(10, 10) + std::string(kMaxSlideBytes - 33, '\0')).verdict,
            SlideVerdict::kAccepted);
}

}  // namespace
}  // namespace lite
