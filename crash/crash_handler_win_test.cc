#include "crash/crash_handler_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <windows.h>

#include <new>

#include "base/base64.h"
#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/cdn/test_cdn_win.h"
#include "tests/support/child_process_win.h"

// Set by a child that stands for a process whose heap is used up: every
// allocation through operator new fails from then on, and does what a
// failing operator new does: calls the new-handler, or throws without one.
static std::atomic<bool> g_heap_exhausted{false};

void* operator new(std::size_t size) {
  for (;;) {
    if (void* memory = g_heap_exhausted.load()
                           ? nullptr
                           : HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) {
      return memory;
    }
    const std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}
void operator delete(void* memory) noexcept {
  if (memory) HeapFree(GetProcessHeap(), 0, memory);
}
void operator delete(void* memory, std::size_t) noexcept { operator delete(memory); }

namespace lite {
namespace {

constexpr char kZeroGuid[] = "00000000-0000-0000-0000-000000000000";

CrashHandlerSettings Settings(const std::string& user_id, const std::optional<FilePath>& temp_dir,
                              const std::string& upload_host) {
  return CrashHandlerSettings{user_id, temp_dir, "26.12.0.1", upload_host};
}

TEST(CrashHandlerTest, ConstructionAnnotations) {
  const struct {
    std::string user_id;
    std::string uid;
  } cases[] = {
      {"{6F9619FF-8B86-D011-B42D-00C04FC964FF}", "6F9619FF-8B86-D011-B42D-00C04FC964FF"},
      {"6f9619ff-8b86-d011-b42d-00c04fc964ff", "6F9619FF-8B86-D011-B42D-00C04FC964FF"},
      {"", kZeroGuid},
      {"6f9619ff", kZeroGuid},
  };
  for (const auto& c : cases) {
    CrashHandler handler(Settings(c.user_id, FilePath(u"C:\\t"), ""));
    EXPECT_EQ(CrashHandler::Current(), &handler);
    const CrashAnnotations& keys = handler.annotations();
    ASSERT_EQ(keys.size(), 6u);
    EXPECT_EQ(keys.at("uid"), c.uid) << c.user_id;
    EXPECT_EQ(keys.at("ver"), "26.12.0.1");
    EXPECT_EQ(keys.at("plat"), "Win32");
    EXPECT_EQ(keys.at("prod"), "Tolvar");
    EXPECT_EQ(keys.at("gzip_enabled"), "true");
    const std::string& report_id = keys.at("report_id");
    EXPECT_EQ(report_id.size(), 36u);
    EXPECT_NE(report_id, kZeroGuid);
    EXPECT_EQ(handler.dump_path().value(), u"C:\\t\\" + UTF8ToUTF16(report_id) + u".dmp");
    EXPECT_TRUE(handler.filter_installed());
  }
  EXPECT_EQ(CrashHandler::Current(), nullptr);
}

TEST(CrashHandlerTest, CrashKeys) {
  CrashHandler handler(Settings("", FilePath(), ""));
  SetCrashKey("ptype", "installer");
  SetCrashKey("ptype", "");
  SetCrashKey("", "value");
  SetCrashKey("brand_id", "tolvar");
  SetCrashKey("brand_id", "ua");
  EXPECT_EQ(handler.annotations().at("ptype"), "installer");
  EXPECT_EQ(handler.annotations().at("brand_id"), "ua");
  EXPECT_EQ(handler.annotations().count(""), 0u);
}

// A process with a handler that ends the way args[2] says: "write-null"
// crashes on an access violation, "terminate" ends through the handler;
// the others crash as "write-null" does after making the report's life
// hard: "heap-exhausted" makes every allocation fail, "guid-fails" has no
// random report id, "name-taken" finds a file where its dump would go,
// "folder-set-later" has no dump folder until after the start (as the
// elevated copy), "folder-cleared" has one and loses it again, "no-folder"
// never gets one, "declined" stands for a user who turned statistics off.
int CrashWithHandler(const std::vector<std::u16string>& args) {
  const std::u16string& how = args[2];
  CrashHandlerSettings settings =
      Settings("{6F9619FF-8B86-D011-B42D-00C04FC964FF}", FilePath(args[0]), UTF16ToUTF8(args[1]));
  if (how == u"guid-fails") settings.create_guid = [] { return std::optional<Guid>(); };
  if (how == u"folder-set-later" || how == u"folder-cleared" || how == u"no-folder") {
    settings.temp_dir = std::nullopt;
  }
  CrashHandler handler(settings);
  SetCrashKey("ptype", "installer");
  SetCrashKey("upload_file_minidump", "must not be a field");
  SetCrashKey("guid", "g/1");
  if (how == u"terminate") TerminateThroughCrashHandler(0xC06D007E);
  if (how == u"name-taken" && !WriteWholeFile(handler.dump_path(), "an earlier dump")) return 1;
  if (how == u"folder-set-later" || how == u"folder-cleared") {
    SetCrashDumpDirectory(FilePath(args[0]));
  }
  if (how == u"folder-cleared") ClearCrashDumpDirectory();
  if (how == u"declined") SetCrashUploadAllowed(false);
  if (how == u"heap-exhausted") g_heap_exhausted = true;
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
  return 0;
}
TL_CHILD_PROCESS("crash-with-handler", CrashWithHandler);

// What is left in the dump folder after the report.
enum class DumpLeft {
  kNone,           // the collector took it
  kUnderReportId,  // "<report id>.dmp"
  kUnderAnotherName,
};

struct ReportCase {
  const char16_t* how;
  uint32_t exit_code;
  std::string rule;  // the collector's answer; empty: it takes the upload
  DumpLeft left;
  // The child runs where Wine's symbol handler cannot read its own
  // loader's debug information (as under an emulator); Windows ignores it.
  bool loader_hidden;
};

// Crashes a child as |c| says and checks the one upload it made and what it
// left in its dump folder.
void CheckReport(const ReportCase& c) {
  {
    SCOPED_TRACE(::testing::Message() << UTF16ToUTF8(c.how) << " " << c.rule
                 << (c.loader_hidden ? " loader hidden" : ""));
    const FilePath temp = testing::MakeScratchDir();
    testing::TestCdn cdn;
    ASSERT_TRUE(cdn.Start());
    if (!c.rule.empty()) cdn.SetRule("/submit", c.rule);
    LaunchOptions options;
    if (c.loader_hidden) {
      options.environment = testing::EnvironmentWith({{u"DBGHELP_NOLIVE", u"1"}});
    }
    const Process child = testing::StartChild(
        "crash-with-handler", {temp.value(), UTF8ToUTF16(cdn.Url("")), c.how}, options);
    int exit_code = -9999;
    ASSERT_TRUE(child.is_valid());
    if (!child.WaitForExit(120000, &exit_code)) child.Terminate(1);
    EXPECT_EQ(static_cast<uint32_t>(exit_code), c.exit_code);

    const std::optional<Value> requests = cdn.Requests("/submit");
    ASSERT_TRUE(requests && requests->is_list());
    ASSERT_EQ(requests->GetIfList()->size(), 1u);
    const Value& upload = requests->GetIfList()->front();
    EXPECT_EQ(*upload.FindPath("method")->GetIfString(), "POST");
    EXPECT_EQ(*upload.FindPath("query")->GetIfString(),
              "product=Tolvar&version=26.12.0.1&guid=g%2F1");
    EXPECT_EQ(testing::RequestHeader(upload, "Content-Encoding"), "gzip");
    EXPECT_EQ(testing::RequestHeader(upload, "User-Agent").value_or("").rfind("Crashpad/0.8.0 WinHTTP", 0), 0u);
    const Value* fields = upload.FindPath("upload.fields");
    ASSERT_TRUE(fields && fields->is_dict());
    EXPECT_EQ(*fields->FindPath("ptype")->GetIfString(), "installer");
    EXPECT_EQ(fields->FindPath("upload_file_minidump"), nullptr);
    const std::string report_id = *fields->FindPath("report_id")->GetIfString();
    EXPECT_EQ(report_id.size(), 36u);
    EXPECT_NE(report_id, kZeroGuid);

    const Value* file = upload.FindPath("upload.files.upload_file_minidump");
    ASSERT_TRUE(file);
    EXPECT_EQ(*file->FindPath("filename")->GetIfString(),
              "6F9619FF-8B86-D011-B42D-00C04FC964FF.dmp");
    const std::optional<std::string> dump =
        Base64Decode(*file->FindPath("content_base64")->GetIfString());
    ASSERT_TRUE(dump);
    EXPECT_EQ(dump->substr(0, 4), "MDMP");
    const std::optional<CrashpadInfo> info = ReadCrashpadInfo(*dump);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->annotations.at("ptype"), "installer");
    EXPECT_EQ(info->annotations.at("report_id"), report_id);
    EXPECT_EQ(info->client_id.data1, 0x6F9619FFu);

    const FilePath dump_file = temp.Append(UTF8ToUTF16(report_id + ".dmp"));
    const FilePath other_name = temp.Append(UTF8ToUTF16(report_id + "-1.dmp"));
    const bool name_taken = std::u16string(c.how) == u"name-taken";
    // A file that had the dump's name is left as it was.
    EXPECT_EQ(ReadFileWithLimit(dump_file, 1 << 26).value_or("<none>") == "an earlier dump",
              name_taken);
    EXPECT_EQ(PathExists(dump_file), c.left == DumpLeft::kUnderReportId || name_taken);
    EXPECT_EQ(PathExists(other_name), c.left == DumpLeft::kUnderAnotherName);
    if (c.left != DumpLeft::kNone) {
      const FilePath kept = c.left == DumpLeft::kUnderReportId ? dump_file : other_name;
      EXPECT_EQ(ReadFileWithLimit(kept, 1 << 26), dump);
    }
    DeletePathRecursively(temp);
  }
}

TEST(CrashHandlerTest, CrashIsUploadedOnceAndTheDumpDeletedOnlyAfter200) {
  const ReportCase cases[] = {
      {u"write-null", 0xC0000005u, "", DumpLeft::kNone, false},
      {u"write-null", 0xC0000005u, "", DumpLeft::kNone, true},
      {u"terminate", 0xC06D007Eu, R"({"status": 500})", DumpLeft::kUnderReportId, true},
      {u"heap-exhausted", 0xC0000005u, "", DumpLeft::kNone, false},
  };
  for (const ReportCase& c : cases) CheckReport(c);
}

// The dump's name is this process's own, whatever the system and the
// folder hold; the file that is sent is the file that is deleted.
TEST(CrashHandlerTest, DumpNameIsTheProcesssOwn) {
  const ReportCase cases[] = {
      {u"guid-fails", 0xC0000005u, R"({"status": 500})", DumpLeft::kUnderReportId, false},
      {u"name-taken", 0xC0000005u, R"({"status": 500})", DumpLeft::kUnderAnotherName, false},
      {u"name-taken", 0xC0000005u, "", DumpLeft::kNone, false},
      {u"folder-set-later", 0xC0000005u, R"({"status": 500})", DumpLeft::kUnderReportId, false},
  };
  for (const ReportCase& c : cases) CheckReport(c);
}

TEST(CrashHandlerTest, DumpOfAUserWhoTurnedStatisticsOffStaysUnsent) {
  const FilePath temp = testing::MakeScratchDir();
  testing::TestCdn cdn;
  ASSERT_TRUE(cdn.Start());
  EXPECT_EQ(static_cast<uint32_t>(testing::RunChild(
                "crash-with-handler", {temp.value(), UTF8ToUTF16(cdn.Url("")), u"declined"},
                60000)),
            0xC0000005u);
  const std::optional<Value> requests = cdn.Requests("/submit");
  ASSERT_TRUE(requests && requests->is_list());
  EXPECT_TRUE(requests->GetIfList()->empty());
  const std::vector<FilePath> dumps = EnumerateFiles(temp, u"*.dmp");
  ASSERT_EQ(dumps.size(), 1u);
  EXPECT_EQ(ReadFileWithLimit(dumps[0], 1 << 26).value_or("").substr(0, 4), "MDMP");
  DeletePathRecursively(temp);
}

TEST(CrashHandlerTest, CrashWithoutADumpFolderWritesAndSendsNothing) {
  for (const char16_t* how : {u"no-folder", u"folder-cleared"}) {
    SCOPED_TRACE(UTF16ToUTF8(how));
    const FilePath temp = testing::MakeScratchDir();
    testing::TestCdn cdn;
    ASSERT_TRUE(cdn.Start());
    EXPECT_EQ(static_cast<uint32_t>(testing::RunChild(
                  "crash-with-handler", {temp.value(), UTF8ToUTF16(cdn.Url("")), how}, 120000)),
              0xC0000005u);
    const std::optional<Value> requests = cdn.Requests("/submit");
    ASSERT_TRUE(requests && requests->is_list());
    EXPECT_TRUE(requests->GetIfList()->empty());
    EXPECT_TRUE(EnumerateFiles(temp, u"*").empty());
    DeletePathRecursively(temp);
  }
}

// dbghelp.dll as a handler with |args[0]| ("capture" or not) leaves it: 0
// not loaded, 1 loaded from the system folder, 2 loaded from elsewhere.
int DbghelpAfterHandler(const std::vector<std::u16string>& args) {
  CrashHandlerSettings settings = Settings("", FilePath(), "");
  settings.capture_crashes = args[0] == u"capture";
  CrashHandler handler(settings);
  HMODULE dbghelp = GetModuleHandleW(L"dbghelp.dll");
  if (!dbghelp) return handler.filter_installed() ? 3 : 0;
  wchar_t loaded[MAX_PATH];
  wchar_t system[MAX_PATH];
  const DWORD loaded_length = GetModuleFileNameW(dbghelp, loaded, MAX_PATH);
  const UINT system_length = GetSystemDirectoryW(system, MAX_PATH);
  const std::u16string expected = FromWide(system, system_length) + u"\\dbghelp.dll";
  return CompareStringOrdinal(loaded, loaded_length, AsWide(expected),
                              static_cast<int>(expected.size()), TRUE) == CSTR_EQUAL
             ? 1
             : 2;
}
TL_CHILD_PROCESS("dbghelp-after-handler", DbghelpAfterHandler);

TEST(CrashHandlerTest, DbghelpComesFromTheSystemFolderAndOnlyWhenCrashesAreCaptured) {
  EXPECT_EQ(testing::RunChild("dbghelp-after-handler", {u"capture"}), 1);
  EXPECT_EQ(testing::RunChild("dbghelp-after-handler", {u"no"}), 0);
}

}  // namespace
}  // namespace lite
