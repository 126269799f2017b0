// Writes a Microsoft Cabinet file: one folder compressed with MSZIP holding
// the given members in order. Enough for configuration packages, which are
// single, self-contained cabinets (no reserve area, no spanning).
#ifndef TOOLS_PACKAGE_BUILDER_CABINET_WRITER_H_
#define TOOLS_PACKAGE_BUILDER_CABINET_WRITER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lite {

// Uncompressed bytes per CFDATA block; MSZIP allows no more.
inline constexpr size_t kCabinetBlockSize = 32768;

// A file time in the packed MS-DOS form that CFFILE stores.
struct DosTimestamp {
  uint16_t date = 0x21;  // 1980-01-01
  uint16_t time = 0;
};

// |unix_seconds| as a UTC date and time, clamped to the range the packed form
// holds (1980-01-01 to 2107-12-31). Seconds are rounded down to even.
DosTimestamp DosTimestampFromUnixTime(int64_t unix_seconds);

struct CabinetMember {
  std::string name;  // ASCII, stored as given
  std::string_view data;
  DosTimestamp timestamp;
};

// The cabinet holding |members|, or false with |*error| set when the input
// cannot be stored (bad name, too large, deflate failure).
bool WriteCabinet(const std::vector<CabinetMember>& members, std::string* cabinet,
                  std::string* error);

// The CFDATA checksum of |bytes| continued from |seed|: little-endian 32-bit
// words XORed together, the 1-3 trailing bytes packed in the order the format
// defines (first byte highest).
uint32_t CabinetChecksum(std::string_view bytes, uint32_t seed);

}  // namespace lite

#endif  // TOOLS_PACKAGE_BUILDER_CABINET_WRITER_H_
