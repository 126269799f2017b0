#include "distribution/installer_data_files_win.h"

#include <gtest/gtest.h>

#include "base/file_util_win.h"
#include "base/wide_string_win.h"
#include "distribution/resource_bytes_win.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

class InstallerDataFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
    scratch_ = testing::MakeScratchDir();
    working_dir_ = FilePath(scratch_.value() + u"\\");
  }
  void TearDown() override {
    SetGlobalLogger(nullptr);
    DeletePathRecursively(scratch_);
  }

  std::string Contents(const std::u16string& name) const {
    return ReadFileWithLimit(working_dir_.Append(name), 1 << 20).value_or("<missing>");
  }

  std::vector<LogRecord> records_;
  FilePath scratch_;
  FilePath working_dir_;
};

TEST_F(InstallerDataFilesTest, WritesEveryResourceForMissingPaths) {
  InstallerDataFiles files(u"", u"", u"", u"");
  ExtractInstallerDataIfAbsent(working_dir_, files);

  EXPECT_EQ(files.installer_data_path().value(), working_dir_.value() + u"master_preferences");
  EXPECT_EQ(files.clids_path().value(), working_dir_.value() + u"clids.xml");
  EXPECT_EQ(files.abt_config_path().value(), working_dir_.value() + u"abt_config_resource");
  EXPECT_EQ(Contents(u"master_preferences"), LoadBinResource(nullptr, 305));
  EXPECT_EQ(Contents(u"clids.xml"), LoadBinResource(nullptr, 306));
  EXPECT_EQ(Contents(u"abt_config_resource"), LoadBinResource(nullptr, L"ABT_CONFIG"));
  EXPECT_NE(Contents(u"clids.xml").find("<vendor"), std::string::npos);

  // This module has no website icon: an empty file, its path, a warning.
  EXPECT_EQ(files.website_icon_path().value(), working_dir_.value() + u"website.ico");
  EXPECT_EQ(Contents(u"website.ico"), "");
  ASSERT_EQ(records_.size(), 1u);
  EXPECT_EQ(records_[0].severity, 2);
  EXPECT_EQ(records_[0].message, "Failed to extract resource 323");
  EXPECT_STREQ(records_[0].function, "ExtractInstallerDataIfAbsent");
}

TEST_F(InstallerDataFilesTest, LeavesPathsFromTheCommandLineAlone) {
  const FilePath own_clids = scratch_.Append(u"my clids.xml");
  ASSERT_TRUE(WriteWholeFile(own_clids, "mine"));
  const std::u16string absent_icon = scratch_.Append(u"nowhere\\icon.ico").value();
  InstallerDataFiles files(u"", own_clids.value(), absent_icon, u"");
  ExtractInstallerDataIfAbsent(working_dir_, files);

  EXPECT_EQ(files.clids_path(), own_clids);
  EXPECT_EQ(ReadFileWithLimit(own_clids, 100).value_or(""), "mine");
  EXPECT_FALSE(PathExists(working_dir_.Append(u"clids.xml")));
  EXPECT_EQ(files.website_icon_path().value(), absent_icon);
  EXPECT_FALSE(PathExists(working_dir_.Append(u"website.ico")));
  EXPECT_TRUE(records_.empty()) << records_[0].message;
}

TEST_F(InstallerDataFilesTest, BuildWithoutExperimentConfigurationPassesNoPath) {
  ScopedLibrary other(LoadLibraryExW(
      AsWide(GetExecutablePath().DirName().Append(u"" TL_BRAND_TEST_OTHER_MODULE).value()),
      nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(other.is_valid());
  InstallerDataFiles files(u"", u"", u"", u"");
  ExtractInstallerDataIfAbsent(working_dir_, files, other.get());

  EXPECT_TRUE(files.abt_config_path().empty());
  EXPECT_TRUE(PathExists(working_dir_.Append(u"abt_config_resource")));
  EXPECT_EQ(Contents(u"website.ico"), LoadBinResource(other.get(), 323));
  EXPECT_FALSE(Contents(u"website.ico").empty());
  EXPECT_EQ(Contents(u"master_preferences"), "");
  EXPECT_EQ(files.installer_data_path().value(), working_dir_.value() + u"master_preferences");
  std::vector<std::string> warnings;
  for (const LogRecord& r : records_) warnings.push_back(r.message);
  EXPECT_EQ(warnings, (std::vector<std::string>{"Failed to extract resource 305",
                                                "Failed to extract resource 306",
                                                "Failed to extract resource abt_config_resource"}));
}

}  // namespace
}  // namespace lite
