#include "crash/crashpad_info.h"

#include <algorithm>
#include <cstring>

namespace lite {
namespace {

// Minidump file layout: a 32-byte header with the stream count at 8 and the
// directory's offset at 12; 12-byte directory entries (type, size, offset).
constexpr size_t kDumpHeaderSize = 32;
constexpr size_t kDirectoryEntrySize = 12;
// Offsets within the stream.
constexpr size_t kDictionarySizeAt = 36;
constexpr size_t kDictionaryLocationAt = 40;

bool PutGuid(ByteSink* out, const Guid& guid) {
  const char halves[4] = {static_cast<char>(guid.data2 & 0xFF), static_cast<char>(guid.data2 >> 8),
                          static_cast<char>(guid.data3 & 0xFF), static_cast<char>(guid.data3 >> 8)};
  return AppendU32(out, guid.data1) && out->Append(std::string_view(halves, sizeof(halves))) &&
         out->Append(std::string_view(reinterpret_cast<const char*>(guid.data4),
                                      sizeof(guid.data4)));
}

// Bytes of one string of the string area: length, bytes, a 0 byte.
size_t StringSize(std::string_view text) { return 4 + text.size() + 1; }

uint32_t GetU32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void SetU32(unsigned char* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
}

Guid GetGuid(const unsigned char* p) {
  Guid guid;
  guid.data1 = GetU32(p);
  guid.data2 = static_cast<uint16_t>(p[4] | (p[5] << 8));
  guid.data3 = static_cast<uint16_t>(p[6] | (p[7] << 8));
  std::memcpy(guid.data4, p + 8, sizeof(guid.data4));
  return guid;
}

// The offset and size of the last annotation stream named by the dump's
// directory.
struct StreamPlace {
  uint32_t offset = 0;
  uint32_t size = 0;
};

std::optional<StreamPlace> FindLastStream(DumpBytes& dump) {
  unsigned char header[kDumpHeaderSize];
  if (!dump.ReadAt(0, header, sizeof(header))) return std::nullopt;
  const uint32_t count = GetU32(header + 8);
  const uint32_t directory = GetU32(header + 12);
  std::optional<StreamPlace> found;
  for (uint32_t i = 0; i < count; ++i) {
    unsigned char entry[kDirectoryEntrySize];
    if (!dump.ReadAt(uint64_t{directory} + uint64_t{i} * kDirectoryEntrySize, entry,
                     sizeof(entry))) {
      return std::nullopt;
    }
    if (GetU32(entry) == kCrashpadInfoStreamType) {
      found = StreamPlace{GetU32(entry + 8), GetU32(entry + 4)};
    }
  }
  return found;
}

}  // namespace

size_t CrashpadInfoStreamSize(const CrashKeyList& keys) {
  size_t size = kCrashpadInfoHeaderSize + 4;
  for (const CrashKey& key : keys) size += 8 + StringSize(key.name) + StringSize(key.value);
  return size;
}

bool WriteCrashpadInfoStream(const Guid& report_id, const Guid& client_id,
                             const CrashKeyList& keys, ByteSink* out) {
  const uint32_t count = static_cast<uint32_t>(keys.size());
  const uint32_t dictionary_size =
      static_cast<uint32_t>(CrashpadInfoStreamSize(keys) - kCrashpadInfoHeaderSize);
  bool ok = AppendU32(out, kCrashpadInfoVersion) && PutGuid(out, report_id) &&
            PutGuid(out, client_id) && AppendU32(out, dictionary_size) &&
            AppendU32(out, kCrashpadInfoHeaderSize) && AppendU32(out, 0) &&  // module list size
            AppendU32(out, 0) &&                                             // and location
            AppendU32(out, count);
  // Offsets count from the first string until the dump is fixed up.
  uint32_t offset = 0;
  for (const CrashKey& key : keys) {
    for (std::string_view text : {key.name, key.value}) {
      ok = ok && AppendU32(out, offset);
      offset += static_cast<uint32_t>(StringSize(text));
    }
  }
  static constexpr char kZero[1] = {0};
  for (const CrashKey& key : keys) {
    for (std::string_view text : {key.name, key.value}) {
      ok = ok && AppendU32(out, static_cast<uint32_t>(text.size())) && out->Append(text) &&
           out->Append(std::string_view(kZero, 1));
    }
  }
  return ok;
}

std::string BuildCrashpadInfoStream(const Guid& report_id, const Guid& client_id,
                                    const CrashAnnotations& annotations) {
  std::string stream;
  StringByteSink sink(&stream);
  WriteCrashpadInfoStream(report_id, client_id, CrashKeyList(annotations), &sink);
  return stream;
}

bool MemoryDumpBytes::ReadAt(uint64_t offset, void* data, size_t size) {
  if (offset > bytes_->size() || size > bytes_->size() - offset) return false;
  if (size == 0) return true;  // an empty buffer may be null, which memcpy forbids
  std::memcpy(data, bytes_->data() + offset, size);
  return true;
}

bool MemoryDumpBytes::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (offset > bytes_->size() || size > bytes_->size() - offset) return false;
  if (size == 0) return true;  // an empty buffer may be null, which memcpy forbids
  std::memcpy(bytes_->data() + offset, data, size);
  return true;
}

FixUpResult FixUpCrashpadInfoOffsets(DumpBytes& dump, uint32_t annotation_count) {
  const std::optional<StreamPlace> place = FindLastStream(dump);
  if (!place) return FixUpResult::kNoStream;
  const uint64_t stream = place->offset;

  unsigned char head[kCrashpadInfoHeaderSize];
  if (!dump.ReadAt(stream, head, sizeof(head))) return FixUpResult::kIoError;
  if (GetU32(head + kDictionaryLocationAt) != kCrashpadInfoHeaderSize) {
    return FixUpResult::kNotRelative;
  }
  // Every absolute offset must still be a 32-bit file offset.
  const uint64_t dictionary = stream + kCrashpadInfoHeaderSize;
  const uint64_t strings = dictionary + 4 + uint64_t{8} * annotation_count;
  const uint64_t dictionary_end = dictionary + GetU32(head + kDictionarySizeAt);
  if (dictionary_end > UINT32_MAX) return FixUpResult::kIoError;

  unsigned char count[4];
  if (!dump.ReadAt(dictionary, count, sizeof(count))) return FixUpResult::kIoError;
  if (GetU32(count) != annotation_count) return FixUpResult::kCountMismatch;

  // The offsets in pieces, through a buffer on the stack: all checked
  // before anything is written, then made absolute.
  constexpr uint32_t kPairsPerPiece = 32;
  for (bool write : {false, true}) {
    for (uint32_t first = 0; first < annotation_count; first += kPairsPerPiece) {
      const uint32_t pairs_here = std::min(kPairsPerPiece, annotation_count - first);
      unsigned char pairs[8 * kPairsPerPiece];
      const uint64_t at = dictionary + 4 + uint64_t{8} * first;
      const size_t size = size_t{8} * pairs_here;
      if (!dump.ReadAt(at, pairs, size)) return FixUpResult::kIoError;
      for (size_t i = 0; i < size; i += 4) {
        const uint64_t absolute = strings + GetU32(pairs + i);
        if (absolute >= dictionary_end) return FixUpResult::kIoError;
        SetU32(pairs + i, static_cast<uint32_t>(absolute));
      }
      if (write && !dump.WriteAt(at, pairs, size)) return FixUpResult::kIoError;
    }
  }
  SetU32(head + kDictionaryLocationAt, static_cast<uint32_t>(dictionary));
  if (!dump.WriteAt(stream, head, sizeof(head))) return FixUpResult::kIoError;
  return FixUpResult::kFixed;
}

std::optional<CrashpadInfo> ReadCrashpadInfo(std::string_view dump) {
  std::string copy(dump);
  MemoryDumpBytes bytes(&copy);
  const std::optional<StreamPlace> place = FindLastStream(bytes);
  if (!place || place->size < kCrashpadInfoHeaderSize ||
      place->offset > dump.size() || place->size > dump.size() - place->offset) {
    return std::nullopt;
  }
  const auto* base = reinterpret_cast<const unsigned char*>(dump.data());
  const unsigned char* head = base + place->offset;
  if (GetU32(head) != kCrashpadInfoVersion) return std::nullopt;

  CrashpadInfo info;
  info.report_id = GetGuid(head + 4);
  info.client_id = GetGuid(head + 20);
  // The dictionary, wherever it lies, must lie inside the dump.
  const uint64_t location = GetU32(head + kDictionaryLocationAt);
  const uint64_t size = GetU32(head + kDictionarySizeAt);
  if (size < 4 || location > dump.size() || size > dump.size() - location) return std::nullopt;
  const uint64_t count = GetU32(base + location);
  if (count > (size - 4) / 8) return std::nullopt;

  // A string is a length, its bytes and a 0 byte, all inside the dictionary.
  auto read_string = [&](uint32_t offset) -> std::optional<std::string> {
    if (offset < location || offset > location + size - 4) return std::nullopt;
    const uint64_t length = GetU32(base + offset);
    if (length >= location + size - offset - 4) return std::nullopt;
    if (base[offset + 4 + length] != 0) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(base + offset + 4), length);
  };
  for (uint64_t i = 0; i < count; ++i) {
    const unsigned char* pair = base + location + 4 + 8 * i;
    std::optional<std::string> key = read_string(GetU32(pair));
    std::optional<std::string> value = read_string(GetU32(pair + 4));
    if (!key || !value) return std::nullopt;
    info.annotations[*key] = *value;
  }
  return info;
}

}  // namespace lite
