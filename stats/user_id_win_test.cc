#include "stats/user_id_win.h"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

#include "base/file_util_win.h"
#include "base/registry_win.h"
#include "base/wide_string_win.h"
#include "base/windows_version_win.h"
#include "tests/support/child_process_win.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"

namespace lite {
namespace {

// Exit code: the Windows version this process sees (major * 100 + minor),
// negated when no identifier could be had.
int CreateUserIdAndReportVersion(const std::vector<std::u16string>&) {
  const WindowsVersion& version = GetWindowsVersion();
  const int seen = static_cast<int>(version.major * 100 + version.minor);
  return GetUserIdInternal().size() == 38 ? seen : -seen;
}
TL_CHILD_PROCESS("create-user-id", CreateUserIdAndReportVersion);

// These tests change the prefix's real roaming folder and HKCU; CTest runs
// them one at a time (resource lock "user-id").
class UserIdTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
    file_ = GetUserIdFilePath(true);
    ASSERT_FALSE(file_.empty());
    ClearState();
  }
  void TearDown() override {
    ClearState();
    SetGlobalLogger(nullptr);
  }

  void ClearState() {
    DeleteFileIfExists(file_);
    for (const char16_t* key : {kUserIdMarkerKey, kUserIdMarkerKeyLowIntegrity}) {
      RegistryKey opened;
      if (opened.Open(HKEY_CURRENT_USER, key, KEY_SET_VALUE) == ERROR_SUCCESS) {
        opened.DeleteValue(UserIdMarkerName());
      }
    }
  }
  void SetMarker(const char16_t* key) {
    RegistryKey opened;
    ASSERT_EQ(opened.Create(HKEY_CURRENT_USER, key, KEY_SET_VALUE), ERROR_SUCCESS);
    ASSERT_EQ(opened.WriteDword(UserIdMarkerName(), 1), ERROR_SUCCESS);
  }
  bool Logged(const std::string& message, const char* function) const {
    return HasRecord(records_, message, function);
  }
  std::string FileContent() const { return ReadFileWithLimit(file_, 1000).value_or("<none>"); }

  std::vector<LogRecord> records_;
  FilePath file_;
};

TEST_F(UserIdTest, CreatedOnceThenReadBack) {
  EXPECT_EQ(file_.BaseName(), u"ui");
  EXPECT_EQ(file_.DirName().BaseName(), u"Tolvar");

  const std::string created = GetUserIdInternal();
  EXPECT_TRUE(std::regex_match(
      created, std::regex(R"(\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\})")))
      << created;
  EXPECT_EQ(FileContent(), created);  // no line break, no byte-order mark
  // Windows 10 writes the marker to the low-integrity key only.
  EXPECT_TRUE(RegistryValueExist(HKEY_CURRENT_USER, kUserIdMarkerKeyLowIntegrity,
                                 UserIdMarkerName()));
  EXPECT_FALSE(RegistryValueExist(HKEY_CURRENT_USER, kUserIdMarkerKey, UserIdMarkerName()));

  EXPECT_EQ(GetUserIdInternal(), created);
  EXPECT_EQ(GetUserId(), created.substr(1, 36));
}

TEST_F(UserIdTest, MarkerBlocksANewIdentifierAfterTheFileWasDeleted) {
  const std::string first = GetUserIdInternal();
  ASSERT_FALSE(first.empty());
  DeleteFileIfExists(file_);
  EXPECT_EQ(GetUserIdInternal(), "");
  EXPECT_TRUE(Logged("Registry entry already exists, skip User ID file generation",
                     "GetUserIdInternal"));
  EXPECT_FALSE(PathExists(file_));
}

TEST_F(UserIdTest, MarkerInTheOlderKeyBlocksToo) {
  SetMarker(kUserIdMarkerKey);
  EXPECT_EQ(GetUserIdInternal(), "");
  EXPECT_FALSE(PathExists(file_));
}

TEST_F(UserIdTest, ContentIsUsedAsItIsWithinSixtyFourBytes) {
  ASSERT_TRUE(WriteWholeFile(file_, "abc"));
  EXPECT_EQ(GetUserIdInternal(), "abc");
  EXPECT_EQ(GetUserId(), "abc");
  ASSERT_TRUE(WriteWholeFile(file_, std::string(64, 'z')));
  EXPECT_EQ(GetUserIdInternal(), std::string(64, 'z'));
}

TEST_F(UserIdTest, OversizedFilesAreRejectedAndTheMarkerDecides) {
  SetMarker(kUserIdMarkerKeyLowIntegrity);
  ASSERT_TRUE(WriteWholeFile(file_, std::string(65, 'a')));
  EXPECT_EQ(GetUserIdInternal(), "");
  EXPECT_TRUE(Logged("Incorrect User ID file content", "ReadUserIdFromFile"));

  ASSERT_TRUE(WriteWholeFile(file_, std::string(66, 'a')));
  EXPECT_EQ(GetUserIdInternal(), "");
  EXPECT_TRUE(Logged("Failed to read file ", "ReadUserIdFromFile"));
  EXPECT_EQ(FileContent(), std::string(66, 'a'));  // blocked: left as it was
}

TEST_F(UserIdTest, EmptyFileWithoutMarkerIsReplaced) {
  ASSERT_TRUE(WriteWholeFile(file_, ""));
  const std::string created = GetUserIdInternal();
  EXPECT_EQ(created.size(), 38u);
  EXPECT_EQ(FileContent(), created);
  EXPECT_TRUE(Logged("Incorrect User ID file content", "ReadUserIdFromFile"));
}

TEST_F(UserIdTest, BeforeVistaTheMarkerGoesToTheOlderKey) {
  // Wine reports another Windows version to one executable name.
  const FilePath dir = testing::MakeScratchDir();
  const FilePath copy = dir.Append(u"user_id_on_xp.exe");
  ASSERT_TRUE(CopyFileW(AsWide(GetExecutablePath().value()), AsWide(copy.value()), FALSE));
  RegistryKey app_defaults;
  ASSERT_EQ(app_defaults.Create(HKEY_CURRENT_USER,
                                u"Software\\Wine\\AppDefaults\\user_id_on_xp.exe", KEY_SET_VALUE),
            ERROR_SUCCESS);
  ASSERT_EQ(app_defaults.WriteString(u"Version", u"winxp64"), ERROR_SUCCESS);

  Process child =
      LaunchProcess(testing::JoinCommandLine({copy.value(), u"--child=create-user-id"}));
  ASSERT_TRUE(child.is_valid());
  int code = 0;
  ASSERT_TRUE(child.WaitForExit(60000, &code));
  EXPECT_EQ(code, 502);  // Windows XP x64 is 5.2, and an identifier was made
  EXPECT_TRUE(RegistryValueExist(HKEY_CURRENT_USER, kUserIdMarkerKey, UserIdMarkerName()));
  EXPECT_FALSE(RegistryValueExist(HKEY_CURRENT_USER, kUserIdMarkerKeyLowIntegrity,
                                  UserIdMarkerName()));
  DeletePathRecursively(dir);
}

}  // namespace
}  // namespace lite
