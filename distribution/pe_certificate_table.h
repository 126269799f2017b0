// Finds the Authenticode certificate table of a PE image held in memory.
// The input is untrusted: every offset is checked against the bytes given.
#ifndef DISTRIBUTION_PE_CERTIFICATE_TABLE_H_
#define DISTRIBUTION_PE_CERTIFICATE_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lite {

inline constexpr uint16_t kPe32Magic = 0x10B;
inline constexpr uint16_t kPe32PlusMagic = 0x20B;
// The WIN_CERTIFICATE header before the signature blob: dwLength, wRevision,
// wCertificateType.
inline constexpr size_t kWinCertificateHeaderSize = 8;

struct CertificateTable {
  uint16_t magic = 0;  // kPe32Magic or kPe32PlusMagic
  // Where the directory entry (offset, then size) and the image checksum
  // sit in the file, for tools that rewrite the table.
  size_t directory_entry_offset = 0;
  size_t checksum_offset = 0;
  // The table itself: a file offset, not a virtual address.
  uint32_t offset = 0;
  uint32_t size = 0;
};

// The certificate table named by data directory entry 4 of the optional
// header. Nothing when the bytes are not a PE image, the directory has no
// such entry, the entry is empty or the table runs past the end of |file|.
std::optional<CertificateTable> FindCertificateTable(std::string_view file);

// Little-endian and big-endian fields; the caller has checked the bounds.
uint16_t ReadLittleEndian16(std::string_view bytes, size_t offset);
uint32_t ReadLittleEndian32(std::string_view bytes, size_t offset);
uint16_t ReadBigEndian16(std::string_view bytes, size_t offset);

}  // namespace lite

#endif  // DISTRIBUTION_PE_CERTIFICATE_TABLE_H_
