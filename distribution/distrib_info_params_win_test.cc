#include "distribution/distrib_info_params.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "distribution/pe_image_for_fuzzing.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "stats/setup_registry_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

// Reads the tag of another file than the running test.
class ParamsOfFile : public DistribInfoParams {
 public:
  ParamsOfFile(std::optional<std::u16string> params_switch, FilePath exe)
      : DistribInfoParams(std::move(params_switch)), exe_(std::move(exe)) {}

 private:
  FilePath GetOwnExecutablePath() const override { return exe_; }
  FilePath exe_;
};

class DistribInfoParamsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
    temp_ = testing::MakeScratchDir();
    ASSERT_FALSE(temp_.empty());
    SetTempDir(temp_.value() + u"\\");
    RemoveSetupValue(kDistribInfoParamsValueName);
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"TMP", nullptr);
    SetEnvironmentVariableW(L"TEMP", nullptr);
    RemoveSetupValue(kDistribInfoParamsValueName);
    DeletePathRecursively(temp_);
    SetGlobalLogger(nullptr);
  }
  static void SetTempDir(const std::u16string& dir) {
    SetEnvironmentVariableW(L"TMP", AsWide(dir));
    SetEnvironmentVariableW(L"TEMP", AsWide(dir));
  }
  FilePath DistribInfoFile() const { return FilePath(temp_.value() + u"\\distrib_info"); }
  std::optional<std::string> DistribInfoText() const {
    return ReadFileWithLimit(DistribInfoFile(), 1 << 16);
  }
  // A 32-bit image whose certificate table is a 20-byte blob (not a
  // signature) and the legacy block with |tag|.
  FilePath WriteLegacyImage(const std::string& tag) const {
    std::string table("\x00\x00\x00\x00\x00\x02\x02\x00\x30\x82\x00\x10", 12);
    table.resize((0x10 + 19) & ~7, '\0');  // the block's offset in the table
    table += std::string("Tlct", 4) + char(tag.size() >> 8) + char(tag.size() & 0xFF) + tag;
    const FilePath exe = temp_.Append(u"legacy.exe");
    EXPECT_TRUE(WriteWholeFile(
        exe, WrapInPeImage(reinterpret_cast<const uint8_t*>(table.data()), table.size())));
    return exe;
  }
  bool Logged(const std::string& message, const std::string& function) const {
    return HasRecord(records_, message, function);
  }

  std::vector<LogRecord> records_;
  FilePath temp_;
};

TEST_F(DistribInfoParamsTest, SwitchTextGoesToTheRegistryAndTheJsonFile) {
  DistribInfoParams params(u"b=2&a=1&lang=de");
  ASSERT_TRUE(params.LoadDistribParams());
  EXPECT_EQ(params.distrib_info_path().value(), DistribInfoFile().value());
  EXPECT_EQ(DistribInfoText(), std::string(R"({"a":"1","b":"2","lang":"de"})"));
  EXPECT_EQ(ReadSetupValue(kDistribInfoParamsValueName), std::u16string(u"b=2&a=1&lang=de"));
  EXPECT_TRUE(Logged("Stored HKEY_CURRENT_USER\\Software\\Tolvar\\TolvarBrowser\\DistribInfoParams"
                     " = b=2&a=1&lang=de",
                     "StoreSetupValue"));
  std::string value;
  EXPECT_TRUE(params.GetParam("lang", &value));
  EXPECT_EQ(value, "de");
  EXPECT_FALSE(params.GetParam("brand", &value));
}

TEST_F(DistribInfoParamsTest, TriStateParamsAreOneOrTwo) {
  DistribInfoParams params(u"def=1&stat=2&uac=3&first=");
  ASSERT_TRUE(params.LoadDistribParams());
  bool flag = false;
  EXPECT_TRUE(params.GetTriStateParam("def", &flag));
  EXPECT_TRUE(flag);
  for (const char* key : {"stat", "uac", "first", "cancel"}) {
    flag = true;
    EXPECT_EQ(params.GetTriStateParam(key, &flag), std::string(key) == "stat") << key;
    EXPECT_FALSE(flag) << key;
  }
}

TEST_F(DistribInfoParamsTest, EmptySwitchFallsBackToTheStampedTag) {
  ParamsOfFile params(u"", FilePath(UTF8ToUTF16(TL_TAGGED_INSTALLER_EXE)));
  ASSERT_TRUE(params.LoadDistribParams());
  EXPECT_EQ(DistribInfoText(), std::string(R"({"lang":"tr","x":"1"})"));
  EXPECT_EQ(ReadSetupValue(kDistribInfoParamsValueName), std::u16string(u"lang=tr&x=1"));
}

TEST_F(DistribInfoParamsTest, LegacyBlockIsReadWhenThereIsNoDummyCertificate) {
  const FilePath exe = WriteLegacyImage("brand=x&l=1");
  ParamsOfFile params(std::nullopt, exe);
  ASSERT_TRUE(params.LoadDistribParams());
  EXPECT_EQ(DistribInfoText(), std::string(R"({"brand":"x","l":"1"})"));
  // The certificate reader found a table it cannot walk first.
  EXPECT_TRUE(Logged("Invalid ASN1 format of certificate table in ",
                     "ExtractTagFromFakeCertificate"));
}

TEST_F(DistribInfoParamsTest, FilesWithoutATagLeaveNoTrace) {
  const FilePath unsigned_exe = testing::InstallerExePath();
  ParamsOfFile unsigned_params(std::nullopt, unsigned_exe);
  EXPECT_FALSE(unsigned_params.LoadDistribParams());
  EXPECT_TRUE(Logged("Failed to find certificate table in " + UTF16ToUTF8(unsigned_exe.value()) +
                         " - ",
                     "ExtractTagFromFakeCertificate"));

  // Signed, but without a dummy certificate: no error at all.
  records_.clear();
  ParamsOfFile signed_params(std::nullopt, FilePath(UTF8ToUTF16(TL_SIGNED_INSTALLER_EXE)));
  EXPECT_FALSE(signed_params.LoadDistribParams());
  EXPECT_TRUE(records_.empty());

  const FilePath missing = temp_.Append(u"missing.exe");
  ParamsOfFile missing_params(std::nullopt, missing);
  EXPECT_FALSE(missing_params.LoadDistribParams());
  EXPECT_TRUE(Logged("Can't open file " + UTF16ToUTF8(missing.value()) + " - 2, ",
                     "ReadAllBytesFromFile"));
  EXPECT_TRUE(Logged("Failed to read file " + UTF16ToUTF8(missing.value()),
                     "ExtractTagFromFakeCertificate"));

  for (const DistribInfoParams* params : {&unsigned_params, &signed_params, &missing_params}) {
    EXPECT_TRUE(params->distrib_info_path().empty());
    EXPECT_TRUE(params->params().empty());
  }
  EXPECT_FALSE(ReadSetupValue(kDistribInfoParamsValueName));
  EXPECT_FALSE(PathExists(DistribInfoFile()));
}

TEST_F(DistribInfoParamsTest, UnwritableFileKeepsThePathForSetup) {
  // A directory where the file should go cannot be opened for writing.
  ASSERT_TRUE(CreateDirectoryW(AsWide(DistribInfoFile().value()), nullptr));
  DistribInfoParams params(u"lang=de");
  EXPECT_TRUE(params.LoadDistribParams());
  EXPECT_EQ(params.distrib_info_path().value(), DistribInfoFile().value());
  EXPECT_TRUE(Logged("Write json to file error - ", "CreateJsonFromDistribParams"));

}

TEST_F(DistribInfoParamsTest, TagThatIsNotUtf8GetsNoJsonButReachesSetup) {
  const FilePath exe = WriteLegacyImage("name=\xFF");
  ParamsOfFile params(std::nullopt, exe);
  EXPECT_TRUE(params.LoadDistribParams());
  EXPECT_FALSE(params.distrib_info_path().empty());
  EXPECT_TRUE(Logged("Can't create json dump - ", "CreateJsonFromDistribParams"));
  EXPECT_FALSE(PathExists(DistribInfoFile()));
  // Each byte becomes one UTF-16 unit.
  EXPECT_EQ(ReadSetupValue(kDistribInfoParamsValueName), std::u16string(u"name=\u00FF"));
}

}  // namespace
}  // namespace lite
