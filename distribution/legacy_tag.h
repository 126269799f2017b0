// The legacy tag block of a 32-bit executable: "Tlct", a 16-bit big-endian
// length N and N bytes of tag text, at the first 8-byte boundary after the
// signature blob of the first WIN_CERTIFICATE.
#ifndef DISTRIBUTION_LEGACY_TAG_H_
#define DISTRIBUTION_LEGACY_TAG_H_

#include <cstddef>
#include <string_view>

namespace lite {

inline constexpr char kLegacyTagMagic[] = "Tlct";
inline constexpr size_t kLegacyTagHeaderSize = 6;  // magic and length

// Where the block of |signature_offset|'s blob begins: the blob is
// 0x30 0x82 and a 16-bit length L, so it ends L + 4 bytes after the
// WIN_CERTIFICATE header.
inline size_t LegacyTagBlockOffset(size_t certificate_table_offset, size_t blob_length) {
  return certificate_table_offset + ((blob_length + 19) & ~size_t{7});
}

// The tag text of the block in |image| (the mapped file), or false.
bool FindLegacyTag(std::string_view image, std::string_view* tag);

// The caller's side of the length query and copy: with a null |buffer|,
// |*size| becomes N + 1; otherwise the N bytes and a terminating zero are
// copied, which needs |*size| > N. False when there is no block or the
// buffer is too small.
bool CopyLegacyTag(std::string_view image, char* buffer, size_t* size);

}  // namespace lite

#endif  // DISTRIBUTION_LEGACY_TAG_H_
