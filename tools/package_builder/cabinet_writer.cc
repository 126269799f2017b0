#include "tools/package_builder/cabinet_writer.h"

#include <zlib.h>

#include <limits>

namespace lite {
namespace {

constexpr size_t kHeaderSize = 36;  // CFHEADER without a reserve area
constexpr size_t kFolderSize = 8;   // CFFOLDER
constexpr size_t kMaxNameBytes = 255;  // the name and its NUL fit in 256
// An MSZIP block may grow by a few bytes over its input, never further.
constexpr size_t kMaxCompressedBlock = kCabinetBlockSize + 12;
// The largest uncompressed folder the format allows: 65535 full blocks, so
// the block count always fits CFFOLDER's 16 bits.
constexpr uint64_t kMaxFolderBytes = 0x7FFF8000;

constexpr uint16_t kCompressMszip = 1;
constexpr uint16_t kAttributeArchive = 0x20;
constexpr uint16_t kAttributeNameIsUtf8 = 0x80;

void PutU16(std::string* out, uint16_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>(value >> 8));
}

void PutU32(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

// Raw deflate of one block at a time. Each block is a complete stream ending
// in a final deflate block and uses no history from the block before, so any
// MSZIP reader decodes it whether or not it keeps the window between blocks.
class MszipCompressor {
 public:
  MszipCompressor() {
    ok_ = deflateInit2(&stream_, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9,
                       Z_DEFAULT_STRATEGY) == Z_OK;
  }
  ~MszipCompressor() {
    if (ok_) deflateEnd(&stream_);
  }
  MszipCompressor(const MszipCompressor&) = delete;
  MszipCompressor& operator=(const MszipCompressor&) = delete;

  // "CK" followed by the deflated |block|.
  bool Compress(std::string_view block, std::string* out) {
    if (!ok_ || deflateReset(&stream_) != Z_OK) return false;
    out->assign("CK");
    out->resize(2 + deflateBound(&stream_, block.size()));
    stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(block.data()));
    stream_.avail_in = static_cast<uInt>(block.size());
    stream_.next_out = reinterpret_cast<Bytef*>(&(*out)[2]);
    stream_.avail_out = static_cast<uInt>(out->size() - 2);
    if (deflate(&stream_, Z_FINISH) != Z_STREAM_END) return false;
    out->resize(out->size() - stream_.avail_out);
    return true;
  }

 private:
  z_stream stream_{};
  bool ok_ = false;
};

bool CheckMembers(const std::vector<CabinetMember>& members, uint64_t* folder_bytes,
                  std::string* error) {
  if (members.empty() || members.size() > std::numeric_limits<uint16_t>::max()) {
    *error = "a cabinet holds 1 to 65535 members, not " + std::to_string(members.size());
    return false;
  }
  *folder_bytes = 0;
  for (const CabinetMember& member : members) {
    if (member.name.empty() || member.name.size() > kMaxNameBytes ||
        member.name.find('\0') != std::string::npos) {
      *error = "member name \"" + member.name + "\" is empty, longer than 255 bytes or holds NUL";
      return false;
    }
    *folder_bytes += member.data.size();
  }
  if (*folder_bytes > kMaxFolderBytes) {
    *error = "members hold " + std::to_string(*folder_bytes) +
             " bytes, more than a cabinet folder can";
    return false;
  }
  return true;
}

}  // namespace

DosTimestamp DosTimestampFromUnixTime(int64_t unix_seconds) {
  constexpr int64_t kFirst = 315532800;   // 1980-01-01T00:00:00Z
  constexpr int64_t kLast = 4354819199;   // 2107-12-31T23:59:59Z
  if (unix_seconds < kFirst) unix_seconds = kFirst;
  if (unix_seconds > kLast) unix_seconds = kLast;
  int64_t days = unix_seconds / 86400;
  const int64_t seconds_of_day = unix_seconds % 86400;
  // Civil date from days since 1970-01-01 (proleptic Gregorian calendar),
  // counted in 400-year eras that begin on March 1st.
  days += 719468;
  const int64_t era = days / 146097;
  const int64_t day_of_era = days - era * 146097;
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t month_index = (5 * day_of_year + 2) / 153;  // 0 = March
  const int64_t day = day_of_year - (153 * month_index + 2) / 5 + 1;
  const int64_t month = month_index < 10 ? month_index + 3 : month_index - 9;
  const int64_t year = year_of_era + era * 400 + (month <= 2 ? 1 : 0);

  DosTimestamp stamp;
  stamp.date = static_cast<uint16_t>(((year - 1980) << 9) | (month << 5) | day);
  stamp.time = static_cast<uint16_t>(((seconds_of_day / 3600) << 11) |
                                     ((seconds_of_day / 60 % 60) << 5) |
                                     (seconds_of_day % 60 / 2));
  return stamp;
}

uint32_t CabinetChecksum(std::string_view bytes, uint32_t seed) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  uint32_t sum = seed;
  size_t words = bytes.size() / 4;
  for (; words > 0; --words, p += 4)
    sum ^= p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
  uint32_t tail = 0;
  for (size_t i = 0; i < bytes.size() % 4; ++i) tail = (tail << 8) | p[i];
  return sum ^ tail;
}

bool WriteCabinet(const std::vector<CabinetMember>& members, std::string* cabinet,
                  std::string* error) {
  uint64_t folder_bytes = 0;
  if (!CheckMembers(members, &folder_bytes, error)) return false;

  // The folder's uncompressed stream is the members back to back.
  std::string folder;
  folder.reserve(folder_bytes);
  for (const CabinetMember& member : members) folder.append(member.data);

  std::string blocks;
  size_t block_count = 0;
  MszipCompressor compressor;
  std::string compressed;
  for (size_t offset = 0; offset < folder.size(); offset += kCabinetBlockSize) {
    std::string_view block = std::string_view(folder).substr(offset, kCabinetBlockSize);
    if (!compressor.Compress(block, &compressed)) {
      *error = "deflate failed";
      return false;
    }
    if (compressed.size() > kMaxCompressedBlock) {
      *error = "an MSZIP block came out at " + std::to_string(compressed.size()) + " bytes";
      return false;
    }
    std::string sizes;
    PutU16(&sizes, static_cast<uint16_t>(compressed.size()));
    PutU16(&sizes, static_cast<uint16_t>(block.size()));
    PutU32(&blocks, CabinetChecksum(sizes, CabinetChecksum(compressed, 0)));
    blocks += sizes;
    blocks += compressed;
    ++block_count;
  }

  std::string files;
  uint32_t folder_offset = 0;
  for (const CabinetMember& member : members) {
    PutU32(&files, static_cast<uint32_t>(member.data.size()));
    PutU32(&files, folder_offset);
    PutU16(&files, 0);  // the only folder
    PutU16(&files, member.timestamp.date);
    PutU16(&files, member.timestamp.time);
    PutU16(&files, IsAscii(member.name) ? kAttributeArchive
                                        : kAttributeArchive | kAttributeNameIsUtf8);
    files += member.name;
    files.push_back('\0');
    folder_offset += static_cast<uint32_t>(member.data.size());
  }

  const uint64_t total = kHeaderSize + kFolderSize + files.size() + blocks.size();
  if (total > std::numeric_limits<uint32_t>::max()) {
    *error = "the cabinet would exceed 4 GiB";
    return false;
  }
  std::string& out = *cabinet;
  out.clear();
  out.reserve(total);
  out += "MSCF";
  PutU32(&out, 0);
  PutU32(&out, static_cast<uint32_t>(total));
  PutU32(&out, 0);
  PutU32(&out, kHeaderSize + kFolderSize);  // first CFFILE
  PutU32(&out, 0);
  out.push_back(3);  // format version 1.3
  out.push_back(1);
  PutU16(&out, 1);  // folders
  PutU16(&out, static_cast<uint16_t>(members.size()));
  PutU16(&out, 0);  // flags: no reserve, no previous or next cabinet
  PutU16(&out, 0);  // set id
  PutU16(&out, 0);  // index in the set

  PutU32(&out, static_cast<uint32_t>(kHeaderSize + kFolderSize + files.size()));
  PutU16(&out, static_cast<uint16_t>(block_count));
  PutU16(&out, kCompressMszip);

  out += files;
  out += blocks;
  return true;
}

}  // namespace lite
