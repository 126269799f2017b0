#include "distribution/legacy_tag.h"

#include <cstring>

#include "distribution/pe_certificate_table.h"

namespace lite {
namespace {

constexpr size_t kPeHeaderPointerOffset = 60;
// The certificate table entry in the 32-bit optional header: 24 bytes to
// the optional header, 96 to its data directories, 4 entries of 8 bytes.
constexpr size_t kPe32CertificateEntry = 24 + 96 + 4 * 8;

}  // namespace

bool FindLegacyTag(std::string_view image, std::string_view* tag) {
  const uint64_t size = image.size();
  if (size < kPeHeaderPointerOffset + 4 || image.substr(0, 2) != "MZ") return false;
  const uint64_t pe = ReadLittleEndian32(image, kPeHeaderPointerOffset);
  if (size < pe + kPe32CertificateEntry + 4) return false;
  if (image.substr(pe, 4) != std::string_view("PE\0\0", 4)) return false;
  // The layout differs in 64-bit images, which never carry the block.
  if (ReadLittleEndian16(image, pe + 24) != kPe32Magic) return false;
  const uint64_t table = ReadLittleEndian32(image, pe + kPe32CertificateEntry);
  if (table == 0) return false;
  const uint64_t blob = table + 8;
  if (size < blob + 4 || image.substr(blob, 2) != "\x30\x82") return false;
  const uint64_t block = LegacyTagBlockOffset(table, ReadBigEndian16(image, blob + 2));
  if (size < block + kLegacyTagHeaderSize) return false;
  if (image.substr(block, 4) != kLegacyTagMagic) return false;
  const uint64_t length = ReadBigEndian16(image, block + 4);
  if (size < block + kLegacyTagHeaderSize + length) return false;
  *tag = image.substr(block + kLegacyTagHeaderSize, length);
  return true;
}

bool CopyLegacyTag(std::string_view image, char* buffer, size_t* size) {
  std::string_view tag;
  if (!FindLegacyTag(image, &tag)) return false;
  if (buffer == nullptr) {
    *size = tag.size() + 1;
    return true;
  }
  if (*size <= tag.size()) return false;
  std::memcpy(buffer, tag.data(), tag.size());
  buffer[tag.size()] = '\0';
  return true;
}

}  // namespace lite
