#include "crash/crashpad_info.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

constexpr Guid kReport = {0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
constexpr Guid kClient = {0xA1B2C3D4, 0xE5F6, 0x1718, {0x19, 0x1A, 0, 0, 0, 0, 0, 0xFF}};

uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

void PutU32At(std::string* bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[at + i] = static_cast<char>(value >> (8 * i));
}

// A dump as a dump writer lays it out: header, some other stream, the
// directory, and |stream| at |stream_at| (after |padding| bytes).
std::string MakeDump(const std::string& stream, size_t padding) {
  std::string dump(32, '\0');
  PutU32At(&dump, 0, 0x504D444D);  // "MDMP"
  dump += std::string(padding, 'x');
  const size_t directory = dump.size();
  dump += std::string(24, '\0');
  const size_t stream_at = dump.size();
  dump += stream;
  PutU32At(&dump, 8, 2);
  PutU32At(&dump, 12, static_cast<uint32_t>(directory));
  PutU32At(&dump, directory, 7);  // a system-information stream, say
  PutU32At(&dump, directory + 12, kCrashpadInfoStreamType);
  PutU32At(&dump, directory + 16, static_cast<uint32_t>(stream.size()));
  PutU32At(&dump, directory + 20, static_cast<uint32_t>(stream_at));
  return dump;
}

TEST(CrashpadInfoTest, StreamLayoutBeforeTheDump) {
  const std::string stream = BuildCrashpadInfoStream(kReport, kClient, {{"b", "22"}, {"a", ""}});
  // n = 2: 16 offset bytes; strings "a" "" "b" "22" are 4+1+1, 4+0+1, 4+1+1, 4+2+1.
  const uint32_t strings_size = 6 + 5 + 6 + 7;
  ASSERT_EQ(stream.size(), 56u + 16 + strings_size);
  EXPECT_EQ(U32At(stream, 0), 1u);
  EXPECT_EQ(U32At(stream, 4), 0x01020304u);
  EXPECT_EQ(stream.substr(8, 4), std::string("\x06\x05\x08\x07", 4));
  EXPECT_EQ(U32At(stream, 20), 0xA1B2C3D4u);
  EXPECT_EQ(U32At(stream, 36), 4 + 16 + strings_size);
  EXPECT_EQ(U32At(stream, 40), 52u);
  EXPECT_EQ(U32At(stream, 44), 0u);
  EXPECT_EQ(U32At(stream, 48), 0u);
  EXPECT_EQ(U32At(stream, 52), 2u);
  // Key order, offsets from the first string.
  EXPECT_EQ(U32At(stream, 56), 0u);
  EXPECT_EQ(U32At(stream, 60), 6u);
  EXPECT_EQ(U32At(stream, 64), 11u);
  EXPECT_EQ(U32At(stream, 68), 17u);
  EXPECT_EQ(stream.substr(72), std::string("\1\0\0\0a\0\0\0\0\0\0\1\0\0\0b\0\2\0\0\0" "22\0", 24));
}

TEST(CrashpadInfoTest, FixUpMakesEveryOffsetPointAtItsString) {
  const CrashAnnotations annotations = {{"ptype", "installer"}, {"uid", "X"}, {"z", ""}};
  std::string dump = MakeDump(BuildCrashpadInfoStream(kReport, kClient, annotations), 13);
  MemoryDumpBytes bytes(&dump);
  ASSERT_EQ(FixUpCrashpadInfoOffsets(bytes, 3), FixUpResult::kFixed);

  const size_t stream_at = 32 + 13 + 24;
  EXPECT_EQ(U32At(dump, stream_at + 40), stream_at + 52);
  const std::optional<CrashpadInfo> info = ReadCrashpadInfo(dump);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->annotations, annotations);
  EXPECT_EQ(info->report_id.data1, kReport.data1);
  EXPECT_EQ(info->client_id.data4[7], 0xFF);
  // A second fix-up finds absolute offsets and refuses.
  EXPECT_EQ(FixUpCrashpadInfoOffsets(bytes, 3), FixUpResult::kNotRelative);
}

TEST(CrashpadInfoTest, FixUpRefusals) {
  const std::string stream = BuildCrashpadInfoStream(kReport, kClient, {{"k", "v"}});
  std::string no_stream = MakeDump(stream, 0);
  PutU32At(&no_stream, 32 + 12, 8);  // the entry now names another type
  // Cut inside the offset pairs.
  const std::string truncated = MakeDump(stream, 0).substr(0, 32 + 24 + 60);
  std::string far_away = MakeDump(stream, 0);
  PutU32At(&far_away, 32 + 20, 0xFFFFFFF0u);
  const struct {
    const char* name;
    std::string dump;
    uint32_t count;
    FixUpResult expected;
  } cases[] = {
      {"no annotation stream", no_stream, 1, FixUpResult::kNoStream},
      {"count differs", MakeDump(stream, 0), 2, FixUpResult::kCountMismatch},
      {"dump cut short", truncated, 1, FixUpResult::kIoError},
      {"stream beyond the file", far_away, 1, FixUpResult::kIoError},
      {"empty file", std::string(), 1, FixUpResult::kNoStream},
  };
  for (const auto& c : cases) {
    std::string dump = c.dump;
    MemoryDumpBytes bytes(&dump);
    EXPECT_EQ(FixUpCrashpadInfoOffsets(bytes, c.count), c.expected) << c.name;
  }
}

TEST(CrashpadInfoTest, ReaderRefusesStringsOutsideTheDictionary) {
  std::string dump = MakeDump(BuildCrashpadInfoStream(kReport, kClient, {{"k", "v"}}), 0);
  MemoryDumpBytes bytes(&dump);
  ASSERT_EQ(FixUpCrashpadInfoOffsets(bytes, 1), FixUpResult::kFixed);
  const size_t pairs_at = 32 + 24 + 56;
  std::string past_end = dump;
  PutU32At(&past_end, pairs_at + 4, static_cast<uint32_t>(dump.size()));
  std::string long_length = dump;
  PutU32At(&long_length, U32At(dump, pairs_at), 1000);
  std::string no_terminator = dump;
  no_terminator[U32At(dump, pairs_at) + 5] = 'x';
  for (const std::string* bad : {&past_end, &long_length, &no_terminator}) {
    EXPECT_FALSE(ReadCrashpadInfo(*bad));
  }
}

}  // namespace
}  // namespace lite
