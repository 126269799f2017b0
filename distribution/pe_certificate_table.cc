#include "distribution/pe_certificate_table.h"

namespace lite {
namespace {

constexpr size_t kPeHeaderPointerOffset = 60;
constexpr size_t kMinimumPeHeaderSize = 96;
constexpr size_t kOptionalHeaderOffset = 24;  // after "PE\0\0" and the file header
constexpr size_t kChecksumOffsetInOptionalHeader = 64;
constexpr size_t kSecurityDirectoryIndex = 4;
constexpr size_t kDirectoryEntrySize = 8;

}  // namespace

uint16_t ReadLittleEndian16(std::string_view bytes, size_t offset) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) |
                               static_cast<uint8_t>(bytes[offset + 1]) << 8);
}

uint32_t ReadLittleEndian32(std::string_view bytes, size_t offset) {
  return static_cast<uint32_t>(ReadLittleEndian16(bytes, offset)) |
         static_cast<uint32_t>(ReadLittleEndian16(bytes, offset + 2)) << 16;
}

uint16_t ReadBigEndian16(std::string_view bytes, size_t offset) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) << 8 |
                               static_cast<uint8_t>(bytes[offset + 1]));
}

std::optional<CertificateTable> FindCertificateTable(std::string_view file) {
  // 64-bit sums: offsets from the file may be close to 4 GiB.
  const uint64_t size = file.size();
  if (size < kPeHeaderPointerOffset + 4) return std::nullopt;
  const uint64_t pe = ReadLittleEndian32(file, kPeHeaderPointerOffset);
  if (size < pe + kMinimumPeHeaderSize) return std::nullopt;
  if (file.substr(pe, 4) != std::string_view("PE\0\0", 4)) return std::nullopt;

  const uint64_t optional_header = pe + kOptionalHeaderOffset;
  CertificateTable table;
  table.magic = ReadLittleEndian16(file, optional_header);
  uint64_t count_field;
  if (table.magic == kPe32Magic) {
    count_field = optional_header + 92;
  } else if (table.magic == kPe32PlusMagic) {
    count_field = optional_header + 108;
  } else {
    return std::nullopt;
  }
  const uint64_t entry = count_field + 4 + kSecurityDirectoryIndex * kDirectoryEntrySize;
  if (size < entry + kDirectoryEntrySize) return std::nullopt;
  if (ReadLittleEndian32(file, count_field) <= kSecurityDirectoryIndex) return std::nullopt;

  table.directory_entry_offset = entry;
  table.checksum_offset = optional_header + kChecksumOffsetInOptionalHeader;
  table.offset = ReadLittleEndian32(file, entry);
  table.size = ReadLittleEndian32(file, entry + 4);
  if (table.offset == 0 || table.size < kWinCertificateHeaderSize) return std::nullopt;
  if (size < uint64_t{table.offset} + table.size) return std::nullopt;
  return table;
}

}  // namespace lite
