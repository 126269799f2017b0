// Any bytes as a mapped image (or as the certificate table of one): the block reader stays inside them, and the
// length query and the copy agree.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "distribution/legacy_tag.h"
#include "distribution/pe_image_for_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The odd inputs are a certificate table behind a valid header.
  const std::string bytes = (data[0] & 1)
      ? lite::WrapInPeImage(data + 1, size - 1)
      : std::string(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string_view image = bytes;
  size_t needed = 0;
  if (!lite::CopyLegacyTag(image, nullptr, &needed)) return 0;
  if (needed == 0 || needed > image.size()) __builtin_trap();
  std::unique_ptr<char[]> buffer(new char[needed]);
  size_t small = needed - 1;
  if (lite::CopyLegacyTag(image, buffer.get(), &small)) __builtin_trap();
  if (!lite::CopyLegacyTag(image, buffer.get(), &needed)) __builtin_trap();
  std::string_view tag;
  if (!lite::FindLegacyTag(image, &tag) || tag.size() + 1 != needed ||
      std::memcmp(tag.data(), buffer.get(), tag.size()) != 0 || buffer[tag.size()] != '\0') {
    __builtin_trap();
  }
  return 0;
}
