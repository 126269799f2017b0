// The pieces a crash report is made of without the heap: fixed buffers,
// the arena, the key table, compression into a fixed buffer, the log.
#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "crash/byte_sink.h"
#include "crash/crash_key_table.h"
#include "crash/crashpad_info.h"
#include "crash/gunzip_for_testing.h"
#include "crash/gzip.h"
#include "crash/multipart_body.h"
#include "crash/report_arena.h"
#include "crash/report_id.h"
#include "crash/report_log.h"
#include "crash/upload_url.h"

namespace lite {
namespace {

TEST(ReportMemoryTest, FixedWriterFailsWholeAndStaysFailed) {
  char buffer[8];
  FixedWriter writer(buffer, sizeof(buffer));
  EXPECT_TRUE(writer.Append("abcde"));
  EXPECT_FALSE(writer.Append("fghi"));  // 9 bytes do not fit into 8
  EXPECT_EQ(writer.view(), "abcde");
  EXPECT_FALSE(writer.Append("f"));     // would fit, but the writer failed
  EXPECT_FALSE(writer.ok());
}

TEST(ReportMemoryTest, ArenaAlignsAndRefusesWhatDoesNotFit) {
  alignas(16) char memory[64];
  ReportArena arena(memory, sizeof(memory));
  char* one = static_cast<char*>(arena.Allocate(3, 1));
  EXPECT_EQ(one, memory);
  void* aligned = arena.Allocate(8, 16);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(aligned) % 16, 0u);
  EXPECT_EQ(arena.used(), 24u);
  EXPECT_EQ(arena.Allocate(41, 1), nullptr);
  EXPECT_EQ(arena.used(), 24u);
  EXPECT_NE(arena.Allocate(40, 1), nullptr);
  arena.Release(24);
  EXPECT_EQ(arena.used(), 24u);
  EXPECT_EQ(ReportArena().Allocate(1), nullptr);
}

TEST(ReportMemoryTest, KeyTableKeepsByteOrderReplacesAndBoundsItsSlots) {
  auto table = std::make_unique<CrashKeyTable>();
  using Result = CrashKeyTable::SetResult;
  const struct {
    std::string name;
    std::string value;
    Result result;
  } steps[] = {
      {"ver", "1", Result::kStored},
      {"Zeta", "upper case sorts first", Result::kStored},
      {"\xC3\xA9t\xC3\xA9", "bytes above 0x7F sort last", Result::kStored},
      {"ver", "2", Result::kStored},
      {"long", std::string(kMaxCrashKeyValueLength + 5, 'v'), Result::kValueCut},
      {std::string(kMaxCrashKeyNameLength + 1, 'n'), "x", Result::kNameTooLong},
  };
  for (const auto& step : steps) EXPECT_EQ(table->Set(step.name, step.value), step.result);
  const CrashAnnotations expected = {
      {"Zeta", "upper case sorts first"},
      {"long", std::string(kMaxCrashKeyValueLength, 'v')},
      {"ver", "2"},
      {"\xC3\xA9t\xC3\xA9", "bytes above 0x7F sort last"},
  };
  EXPECT_EQ(table->ToAnnotations(), expected);
  // The order is the map's, key for key.
  const CrashKeyList sorted = table->Sorted();
  auto in_map = expected.begin();
  for (const CrashKey& key : sorted) EXPECT_EQ(key.name, (in_map++)->first);

  // A shorter value replaces a longer one whole.
  EXPECT_EQ(table->Set("long", "short"), Result::kStored);
  EXPECT_EQ(*table->Sorted().Find("long"), "short");

  for (size_t i = expected.size(); i < kMaxCrashKeys; ++i) {
    EXPECT_EQ(table->Set("k" + std::to_string(i), "v"), Result::kStored);
  }
  EXPECT_EQ(table->Set("one too many", "v"), Result::kFull);
  EXPECT_EQ(table->Set("ver", "3"), Result::kStored);  // replacing still works
  EXPECT_EQ(table->Sorted().size(), kMaxCrashKeys);
}

TEST(ReportMemoryTest, FixedWritersMakeWhatTheStringFormsMake) {
  const CrashAnnotations annotations = {
      {"guid", "g/1 \"x\""}, {"prod", "Tolvar"}, {"ver", "26.1"}, {"a\r\nb", "%v"}};
  const CrashKeyList keys(annotations);
  const Guid report = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  const Guid client = {12, 13, 14, {15, 16, 17, 18, 19, 20, 21, 22}};

  std::string stream(CrashpadInfoStreamSize(keys), '\0');
  FixedWriter stream_writer(stream.data(), stream.size());
  ASSERT_TRUE(WriteCrashpadInfoStream(report, client, keys, &stream_writer));
  EXPECT_EQ(stream_writer.size(), stream.size());
  EXPECT_EQ(stream, BuildCrashpadInfoStream(report, client, annotations));
  // One byte short is refused, not cut.
  FixedWriter short_writer(stream.data(), stream.size() - 1);
  EXPECT_FALSE(WriteCrashpadInfoStream(report, client, keys, &short_writer));

  char url_memory[256];
  FixedWriter url(url_memory, sizeof(url_memory));
  url.Append("https://crash.example/submit");
  ASSERT_TRUE(WriteCrashUploadQuery(keys, &url));
  EXPECT_EQ(url.view(), CrashUploadUrl("https://crash.example", annotations));

  // A body built piece by piece equals the one MultipartBody renders.
  const std::string boundary = "---MultipartBoundary-0123456789abcdefghijABCDEFGHIJkl---";
  MultipartBody body(boundary);
  for (const auto& [name, value] : annotations) body.SetField(name, value);
  body.SetFile("upload_file_minidump", "u\".dmp", "application/octet-stream", "MDMP\0x");
  std::string pieces;
  StringByteSink sink(&pieces);
  for (const CrashKey& key : keys) WriteMultipartField(boundary, key.name, key.value, &sink);
  WriteMultipartFileHead(boundary, "upload_file_minidump", "u\".dmp", "application/octet-stream",
                         &sink);
  sink.Append("MDMP\0x");
  WriteMultipartFileEnd(&sink);
  WriteMultipartClose(boundary, &sink);
  EXPECT_EQ(pieces, body.Render());
}

TEST(ReportMemoryTest, GzipStreamTakesItsStateFromTheArenaAndFailsWhenFull) {
  std::string data;
  for (int i = 0; i < 300000; ++i) data.push_back(static_cast<char>((i * 7 + i / 251) & 0xFF));
  const struct {
    size_t arena_size;
    size_t out_size;
    bool ok;
  } cases[] = {
      {1 << 20, 1 << 20, true},
      {1 << 20, 64, false},     // the output does not fit
      {4096, 1 << 20, false},   // zlib's state does not fit
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.arena_size << " " << c.out_size);
    std::vector<char> arena_memory(c.arena_size);
    ReportArena arena(arena_memory.data(), arena_memory.size());
    std::vector<char> out_memory(c.out_size);
    FixedWriter out(out_memory.data(), out_memory.size());
    {
      GzipStream gzip(&arena, &out);
      const bool ok = gzip.Append(std::string_view(data).substr(0, 1000)) &&
                      gzip.Append(std::string_view(data).substr(1000)) && gzip.Finish();
      EXPECT_EQ(ok, c.ok);
    }
    if (c.ok) {
      EXPECT_GT(arena.used(), 200000u);  // the window and hash tables came from it
      EXPECT_EQ(Gunzip(out.view()), data);
    }
  }
}

TEST(ReportMemoryTest, FallbackReportIdsDifferAndAreNeverZero) {
  std::set<std::string> seen;
  const struct {
    uint64_t time;
    uint32_t process;
    uint64_t counter;
  } inputs[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {134000000000000000ull, 4242, 99}};
  for (const auto& in : inputs) {
    const Guid id = FallbackReportId(in.time, in.process, in.counter);
    const std::string text = GuidToString(id);
    EXPECT_NE(text, "{00000000-0000-0000-0000-000000000000}");
    seen.insert(text);
  }
  EXPECT_EQ(seen.size(), std::size(inputs));
}

TEST(ReportMemoryTest, LogKeepsWholeLinesOnly) {
  char memory[32];
  ReportLog log(memory, sizeof(memory));
  log << "HTTP status " << int64_t{500};
  log.EndLine();
  log << std::string(40, 'x');  // cannot fit: dropped
  log.EndLine();
  log << "n=" << int64_t{-7};
  log.EndLine();
  std::vector<std::string> lines;
  log.ForEachLine([&](std::string_view line) { lines.emplace_back(line); });
  EXPECT_EQ(lines, (std::vector<std::string>{"HTTP status 500", "n=-7"}));
}

}  // namespace
}  // namespace lite
