// What a downloaded slide must be before any decoder sees it: a PNG or a
// JPEG by its own signature (not by its name or Content-Type), of bounded
// size in bytes and pixels, read from its header alone. The slide server is
// outside the program; a decoder given a metafile, or a picture that decodes
// to gigabytes, is what this keeps away.
#ifndef UI_IMAGES_SLIDE_PICTURE_CHECK_H_
#define UI_IMAGES_SLIDE_PICTURE_CHECK_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lite {

// A slide is a 2x picture of the window (about 1500 x 900); the limits leave
// room for larger windows and stay far from what a 32-bit process cannot
// hold (32 MiB decoded at most).
inline constexpr size_t kMaxSlideBytes = 4 * 1024 * 1024;
inline constexpr uint32_t kMaxSlideSide = 4096;
inline constexpr uint64_t kMaxSlidePixels = 4096 * 2048;
// Downloaded slides held at most; the downloads end when they are there.
inline constexpr int kMaxDownloadedSlides = 16;

enum class PictureFormat { kPng, kJpeg };

struct PictureHeader {
  PictureFormat format;
  uint32_t width;
  uint32_t height;
};

// The format and size of a PNG (signature and IHDR) or a JPEG (SOI and the
// first start-of-frame segment); nothing for any other or a truncated
// header.
std::optional<PictureHeader> ReadPictureHeader(std::string_view bytes);

enum class SlideVerdict {
  kAccepted,
  kTooManyBytes,
  kNotPngOrJpeg,
  kTooManyPixels,
};

struct SlideCheck {
  SlideVerdict verdict;
  PictureHeader header;  // valid unless kNotPngOrJpeg or kTooManyBytes
};

SlideCheck CheckSlideBytes(std::string_view bytes);

// For log lines: "accepted", "larger than the slide limit", ...
const char* SlideVerdictText(SlideVerdict verdict);

}  // namespace lite

#endif  // UI_IMAGES_SLIDE_PICTURE_CHECK_H_
