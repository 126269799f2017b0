#include "crash/crashpad_info.h"

#include <cstring>
#include <vector>

namespace lite {
namespace {

// Minidump file layout: a 32-byte header with the stream count at 8 and the
// directory's offset at 12; 12-byte directory entries (type, size, offset).
constexpr size_t kDumpHeaderSize = 32;
constexpr size_t kDirectoryEntrySize = 12;
// Offsets within the stream.
constexpr size_t kDictionarySizeAt = 36;
constexpr size_t kDictionaryLocationAt = 40;

void PutU32(std::string* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutGuid(std::string* out, const Guid& guid) {
  PutU32(out, guid.data1);
  for (uint16_t half : {guid.data2, guid.data3}) {
    out->push_back(static_cast<char>(half & 0xFF));
    out->push_back(static_cast<char>(half >> 8));
  }
  out->append(reinterpret_cast<const char*>(guid.data4), sizeof(guid.data4));
}

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

std::string BuildCrashpadInfoStream(const Guid& report_id, const Guid& client_id,
                                    const CrashAnnotations& annotations) {
  std::string strings;
  std::string pairs;
  for (const auto& [key, value] : annotations) {
    for (const std::string* text : {&key, &value}) {
      PutU32(&pairs, static_cast<uint32_t>(strings.size()));
      PutU32(&strings, static_cast<uint32_t>(text->size()));
      strings += *text;
      strings.push_back('\0');
    }
  }
  const uint32_t count = static_cast<uint32_t>(annotations.size());
  std::string stream;
  PutU32(&stream, kCrashpadInfoVersion);
  PutGuid(&stream, report_id);
  PutGuid(&stream, client_id);
  PutU32(&stream, static_cast<uint32_t>(4 + pairs.size() + strings.size()));
  PutU32(&stream, kCrashpadInfoHeaderSize);
  PutU32(&stream, 0);  // module list size
  PutU32(&stream, 0);  // module list location
  PutU32(&stream, count);
  stream += pairs;
  stream += strings;
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

  std::vector<unsigned char> pairs(size_t{8} * annotation_count);
  if (!dump.ReadAt(dictionary + 4, pairs.data(), pairs.size())) return FixUpResult::kIoError;
  for (size_t at = 0; at < pairs.size(); at += 4) {
    const uint64_t absolute = strings + GetU32(pairs.data() + at);
    if (absolute >= dictionary_end) return FixUpResult::kIoError;
    SetU32(pairs.data() + at, static_cast<uint32_t>(absolute));
  }
  SetU32(head + kDictionaryLocationAt, static_cast<uint32_t>(dictionary));
  if (!dump.WriteAt(stream, head, sizeof(head))) return FixUpResult::kIoError;
  if (!dump.WriteAt(dictionary + 4, pairs.data(), pairs.size())) return FixUpResult::kIoError;
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
