// The packages and data files built into the installer itself, read from
// lite_installer.exe through the same code the installer runs.
#include <gtest/gtest.h>

#include "base/file_util_win.h"
#include "base/wide_string_win.h"
#include "distribution/brand_autodetect.h"
#include "distribution/installer_data_files_win.h"
#include "distribution/package_sources_win.h"
#include "distribution/resource_bytes_win.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

class InstallerResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
    scratch_ = testing::MakeScratchDir();
    working_dir_ = FilePath(scratch_.value() + u"\\");
    installer_.reset(LoadLibraryExW(AsWide(testing::InstallerExePath().value()), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(installer_.is_valid());
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
  ScopedLibrary installer_;
};

TEST_F(InstallerResourcesTest, EveryBrandPackageExtractsThroughCabinetDll) {
  const std::pair<const char*, const char*> kBrands[] = {
      {"", "tolvar_international"}, {"tolvar", "tolvar"}, {"ua_uk", "ua_uk"},
      {"ua_ru", "ua_ru"},           {"tb", "tb"},
  };
  // Every brand the table can choose has a package named after it.
  const std::string detected = AutodetectBrandName();
  BrandInfo autodetected(working_dir_);
  GetInfo(autodetected, "auto", installer_.get());
  EXPECT_EQ(autodetected.brand_name(), detected);
  EXPECT_FALSE(HasRecord(records_, "Fetching default package", "GetInfoFromResources"));

  for (const auto& [requested, brand_name] : kBrands) {
    SCOPED_TRACE(requested);
    records_.clear();
    BrandInfo brand(working_dir_);
    GetInfo(brand, requested, installer_.get());
    EXPECT_EQ(brand.brand_name(), brand_name);
    EXPECT_TRUE(brand.brand_package_present());
    EXPECT_EQ(Contents(u"BrandFile").substr(0, 4), "MSCF");
    // Without a partner package in the build.
    EXPECT_TRUE(HasRecord(records_, "Partner package is empty.", "GetInfoFromResources"));
    EXPECT_FALSE(brand.partner_package_present());
    // The brand's own text was applied: no parse error line.
    for (const LogRecord& r : records_) EXPECT_NE(r.severity, 1) << r.message;
    brand.RemoveBrandValues();
  }
}

TEST_F(InstallerResourcesTest, AllFourDataFilesAreWritten) {
  InstallerDataFiles files(u"", u"", u"", u"");
  ExtractInstallerDataIfAbsent(working_dir_, files, installer_.get());
  EXPECT_TRUE(records_.empty()) << records_[0].message;
  EXPECT_EQ(files.abt_config_path().value(), working_dir_.value() + u"abt_config_resource");
  EXPECT_EQ(Contents(u"master_preferences").substr(0, 1), "{");
  EXPECT_NE(Contents(u"clids.xml").find("<vendor"), std::string::npos);
  EXPECT_EQ(Contents(u"website.ico").substr(0, 4), std::string("\0\0\1\0", 4));
  EXPECT_NE(Contents(u"abt_config_resource").find("variations_seed_base64"), std::string::npos);
}

}  // namespace
}  // namespace lite
