#include "ui/images/slide_picture_check.h"

namespace lite {
namespace {

constexpr unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t BigEndian32(std::string_view bytes, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 24 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

uint32_t BigEndian16(std::string_view bytes, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1]));
}

unsigned char Byte(std::string_view bytes, size_t at) {
  return static_cast<unsigned char>(bytes[at]);
}

// The signature, then the IHDR chunk first, as the format requires.
std::optional<PictureHeader> ReadPngHeader(std::string_view bytes) {
  if (bytes.size() < 24) return std::nullopt;
  for (size_t i = 0; i < sizeof(kPngSignature); ++i) {
    if (Byte(bytes, i) != kPngSignature[i]) return std::nullopt;
  }
  if (BigEndian32(bytes, 8) != 13 || bytes.substr(12, 4) != "IHDR") return std::nullopt;
  const uint32_t width = BigEndian32(bytes, 16);
  const uint32_t height = BigEndian32(bytes, 20);
  // The format's own upper bound is 2^31 - 1.
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
    return std::nullopt;
  }
  return PictureHeader{PictureFormat::kPng, width, height};
}

// Start-of-frame markers carry the size: C0..CF except DHT (C4), JPG (C8)
// and DAC (CC).
bool IsStartOfFrame(unsigned char marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
         marker != 0xCC;
}

// Walks the segments from SOI to the first start of frame; a scan, the end
// of the picture or a segment running past the bytes before it means no
// usable header.
std::optional<PictureHeader> ReadJpegHeader(std::string_view bytes) {
  if (bytes.size() < 4 || Byte(bytes, 0) != 0xFF || Byte(bytes, 1) != 0xD8) return std::nullopt;
  size_t at = 2;
  while (at < bytes.size()) {
    if (Byte(bytes, at) != 0xFF) return std::nullopt;
    while (at < bytes.size() && Byte(bytes, at) == 0xFF) ++at;  // fill bytes
    if (at >= bytes.size()) return std::nullopt;
    const unsigned char marker = Byte(bytes, at++);
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length
    if (marker == 0xD9 || marker == 0xDA || marker == 0x00) return std::nullopt;
    if (bytes.size() - at < 2) return std::nullopt;
    const uint32_t length = BigEndian16(bytes, at);
    if (length < 2 || bytes.size() - at < length) return std::nullopt;
    if (IsStartOfFrame(marker)) {
      // Precision, height, width.
      if (length < 7) return std::nullopt;
      const uint32_t height = BigEndian16(bytes, at + 3);
      const uint32_t width = BigEndian16(bytes, at + 5);
      if (width == 0 || height == 0) return std::nullopt;
      return PictureHeader{PictureFormat::kJpeg, width, height};
    }
    at += length;
  }
  return std::nullopt;
}

}  // namespace

std::optional<PictureHeader> ReadPictureHeader(std::string_view bytes) {
  if (std::optional<PictureHeader> png = ReadPngHeader(bytes)) return png;
  return ReadJpegHeader(bytes);
}

SlideCheck CheckSlideBytes(std::string_view bytes) {
  if (bytes.size() > kMaxSlideBytes) return {SlideVerdict::kTooManyBytes, {}};
  const std::optional<PictureHeader> header = ReadPictureHeader(bytes);
  if (!header) return {SlideVerdict::kNotPngOrJpeg, {}};
  if (header->width > kMaxSlideSide || header->height > kMaxSlideSide ||
      static_cast<uint64_t>(header->width) * header->height > kMaxSlidePixels) {
    return {SlideVerdict::kTooManyPixels, *header};
  }
  return {SlideVerdict::kAccepted, *header};
}

const char* SlideVerdictText(SlideVerdict verdict) {
  switch (verdict) {
    case SlideVerdict::kAccepted:
      return "accepted";
    case SlideVerdict::kTooManyBytes:
      return "larger than the slide limit";
    case SlideVerdict::kNotPngOrJpeg:
      return "not a PNG or JPEG picture";
    case SlideVerdict::kTooManyPixels:
      return "more pixels than the slide limit";
  }
  return "unknown";
}

}  // namespace lite
