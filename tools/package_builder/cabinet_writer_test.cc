#include "tools/package_builder/cabinet_writer.h"

#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "gtest/gtest.h"

namespace lite {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh directory for one test; gcab extracts into it.
std::string MakeScratchDir() {
  std::string pattern = ::testing::TempDir() + "cabinet_writer_XXXXXX";
  return mkdtemp(pattern.data()) ? pattern : std::string();
}

// Runs gcab, an independent cabinet reader, on |cabinet|; true when it
// exits 0. Extracted members land in |dir|.
bool GcabExtract(const std::string& dir, const std::string& cabinet) {
  WriteAll(dir + "/test.cab", cabinet);
  const std::string command =
      "gcab -x -C '" + dir + "' '" + dir + "/test.cab' >'" + dir + "/gcab.log' 2>&1";
  return std::system(command.c_str()) == 0;
}

// Text that compresses well followed by bytes that do not, so some blocks
// deflate and some come out larger than their input.
std::string MixedBytes(size_t size) {
  std::string bytes;
  for (int i = 0; bytes.size() < size / 2; ++i)
    bytes += "{\"line\": " + std::to_string(i) + ", \"text\": \"brand config\"},\n";
  std::mt19937 random(7);
  while (bytes.size() < size) bytes.push_back(static_cast<char>(random()));
  bytes.resize(size);
  return bytes;
}

TEST(CabinetWriterTest, GcabExtractsSmallAndMultiBlockMembersUnchanged) {
  const std::string small = "//signature\n{\"brand_id\": \"tolvar\"}";
  const std::string large = MixedBytes(3 * kCabinetBlockSize + 1234);
  struct Case {
    std::string label;
    std::vector<CabinetMember> members;
  };
  const std::vector<Case> cases = {
      {"small", {{"brand_config", small, {}}}},
      {"several blocks", {{"partner_config", large, {}}}},
      // The second member starts inside a block and runs over three more.
      {"two members", {{"a.txt", small, {}}, {"b.bin", large, {}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    std::string cabinet, error;
    ASSERT_TRUE(WriteCabinet(c.members, &cabinet, &error)) << error;
    const std::string dir = MakeScratchDir();
    ASSERT_FALSE(dir.empty());
    ASSERT_TRUE(GcabExtract(dir, cabinet)) << ReadAll(dir + "/gcab.log");
    for (const CabinetMember& member : c.members)
      EXPECT_EQ(ReadAll(dir + "/" + member.name), member.data) << member.name;
  }
}

TEST(CabinetWriterTest, HeaderCountsAndBlockSizesMatchTheContent) {
  const std::string large = MixedBytes(2 * kCabinetBlockSize + 5);
  std::string cabinet, error;
  ASSERT_TRUE(WriteCabinet({{"brand_config", large, {}}}, &cabinet, &error)) << error;
  auto u16 = [&](size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(cabinet[at]) |
                                 static_cast<unsigned char>(cabinet[at + 1]) << 8);
  };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  EXPECT_EQ(cabinet.substr(0, 4), "MSCF");
  EXPECT_EQ(u32(8), cabinet.size());
  EXPECT_EQ(u16(26), 1u);   // folders
  EXPECT_EQ(u16(28), 1u);   // files
  EXPECT_EQ(u16(36 + 4), 3u);  // CFDATA blocks for 2 blocks + 5 bytes
  EXPECT_EQ(u16(36 + 6), 1u);  // MSZIP
  size_t at = u32(36);
  std::vector<unsigned> uncompressed;
  for (int i = 0; i < 3; ++i) {
    const unsigned packed = u16(at + 4);
    uncompressed.push_back(u16(at + 6));
    EXPECT_EQ(cabinet.substr(at + 8, 2), "CK");
    const std::string_view sizes = std::string_view(cabinet).substr(at + 4, 4);
    const std::string_view data = std::string_view(cabinet).substr(at + 8, packed);
    EXPECT_EQ(u32(at), CabinetChecksum(sizes, CabinetChecksum(data, 0)));
    at += 8 + packed;
  }
  EXPECT_EQ(at, cabinet.size());
  EXPECT_EQ(uncompressed, (std::vector<unsigned>{32768, 32768, 5}));
}

TEST(CabinetWriterTest, GcabRejectsAWrongChecksum) {
  // Shows that the extraction test above also proves the checksums right.
  std::string cabinet, error;
  ASSERT_TRUE(WriteCabinet({{"brand_config", "{}", {}}}, &cabinet, &error));
  const size_t first_block = static_cast<unsigned char>(cabinet[36]);
  cabinet[first_block] ^= 0x01;
  const std::string dir = MakeScratchDir();
  EXPECT_FALSE(GcabExtract(dir, cabinet));
}

TEST(CabinetWriterTest, ChecksumPacksTrailingBytesFirstHighest) {
  EXPECT_EQ(CabinetChecksum("", 0x12345678), 0x12345678u);
  EXPECT_EQ(CabinetChecksum("\x01\x02\x03\x04", 0), 0x04030201u);
  EXPECT_EQ(CabinetChecksum("\x01\x02\x03\x04\x05\x06\x07", 0), 0x04030201u ^ 0x050607u);
  EXPECT_EQ(CabinetChecksum("\x05\x06", 0xFF), 0xFFu ^ 0x0506u);
}

TEST(CabinetWriterTest, RefusesMembersTheFormatCannotHold) {
  std::string cabinet, error;
  EXPECT_FALSE(WriteCabinet({}, &cabinet, &error));
  EXPECT_FALSE(WriteCabinet({{"", "x", {}}}, &cabinet, &error));
  EXPECT_FALSE(WriteCabinet({{std::string(256, 'n'), "x", {}}}, &cabinet, &error));
  EXPECT_FALSE(WriteCabinet({{std::string("a\0b", 3), "x", {}}}, &cabinet, &error));
  EXPECT_TRUE(WriteCabinet({{std::string(255, 'n'), "x", {}}}, &cabinet, &error)) << error;
}

TEST(CabinetWriterTest, DosTimestampsAreUtcAndClamped) {
  struct Case {
    int64_t unix_seconds;
    uint16_t date, time;
  } cases[] = {
      {1796808719, 0x5D89, 0x4BFD},  // 2026-12-09 09:31:59, seconds rounded down
      {1709251198, 0x585D, 0xBF7D},  // 2024-02-29 23:59:58
      {0, 0x0021, 0x0000},           // before 1980
      {4354819199, 0xFF9F, 0xBF7D},  // 2107-12-31 23:59:59, the last
      {9999999999, 0xFF9F, 0xBF7D},
  };
  for (const Case& c : cases) {
    const DosTimestamp stamp = DosTimestampFromUnixTime(c.unix_seconds);
    EXPECT_EQ(stamp.date, c.date) << c.unix_seconds;
    EXPECT_EQ(stamp.time, c.time) << c.unix_seconds;
  }
}

}  // namespace
}  // namespace lite
