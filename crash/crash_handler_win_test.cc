#include "crash/crash_handler_win.h"

#include <gtest/gtest.h>

#include "base/base64.h"
#include "base/file_util_win.h"
#include "base/utf.h"
#include "tests/cdn/test_cdn_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

constexpr char kZeroGuid[] = "00000000-0000-0000-0000-000000000000";

CrashHandlerSettings Settings(const std::string& user_id, const FilePath& temp_dir,
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
// crashes on an access violation, "terminate" ends through the handler.
int CrashWithHandler(const std::vector<std::u16string>& args) {
  CrashHandler handler(Settings("{6F9619FF-8B86-D011-B42D-00C04FC964FF}", FilePath(args[0]),
                                UTF16ToUTF8(args[1])));
  SetCrashKey("ptype", "installer");
  SetCrashKey("upload_file_minidump", "must not be a field");
  SetCrashKey("guid", "g/1");
  if (args[2] == u"terminate") TerminateThroughCrashHandler(0xC06D007E);
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
  return 0;
}
TL_CHILD_PROCESS("crash-with-handler", CrashWithHandler);

TEST(CrashHandlerTest, CrashIsUploadedOnceAndTheDumpDeletedOnlyAfter200) {
  const struct {
    const char16_t* how;
    uint32_t exit_code;
    int answer;
  } cases[] = {
      {u"write-null", 0xC0000005u, 200},
      {u"terminate", 0xC06D007Eu, 500},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << UTF16ToUTF8(c.how) << " " << c.answer);
    const FilePath temp = testing::MakeScratchDir();
    testing::TestCdn cdn;
    ASSERT_TRUE(cdn.Start());
    if (c.answer != 200) cdn.SetRule("/submit", "{\"status\": " + std::to_string(c.answer) + "}");
    const int exit_code = testing::RunChild(
        "crash-with-handler", {temp.value(), UTF8ToUTF16(cdn.Url("")), c.how}, 60000);
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
    EXPECT_EQ(PathExists(dump_file), c.answer != 200);
    DeletePathRecursively(temp);
  }
}

}  // namespace
}  // namespace lite
