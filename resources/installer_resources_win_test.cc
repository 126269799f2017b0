// The installer's own packages and data files, read back through the code
// that reads them in a run: resource lookup, cabinet.dll, the JSON reader.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/file_util_win.h"
#include "base/json/json_reader.h"
#include "distribution/brand_autodetect.h"
#include "distribution/brand_info.h"
#include "distribution/installer_data_files.h"
#include "distribution/installer_data_files_win.h"
#include "distribution/package_sources_win.h"
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
  }
  void TearDown() override {
    SetGlobalLogger(nullptr);
    DeletePathRecursively(scratch_);
  }

  FilePath WorkingDir() const { return FilePath(scratch_.value() + u"\\"); }

  bool Logged(const std::string& prefix) const {
    for (const LogRecord& record : records_)
      if (record.message.rfind(prefix, 0) == 0) return true;
    return false;
  }

  std::vector<LogRecord> records_;
  FilePath scratch_;
};

TEST_F(InstallerResourcesTest, EveryBrandPackageAppliesItsConfiguration) {
  struct Case {
    std::string requested;
    std::string brand_id, brand_name, language;
    TriState send_statistics, make_default;
    std::vector<std::string> test_ids;
    // The window's design: NewIdentity, else Facetune while the feature is
    // on, else Origin.
    bool new_identity, design_enabled;
  } cases[] = {
      {"", "tolvar", "tolvar_international", "", TriState::kTrue, TriState::kUnset, {}, false,
       true},
      {"tolvar", "tolvar", "tolvar", "ru", TriState::kTrue, TriState::kTrue,
       {"401128", "402517"}, false, true},
      {"ua_uk", "ua", "ua_uk", "uk", TriState::kTrue, TriState::kFalse, {}, true, true},
      {"UA_RU", "ua", "ua_ru", "ru", TriState::kTrue, TriState::kFalse, {}, false, true},
      {"tb", "tb", "tb", "tr", TriState::kFalse, TriState::kTrue, {}, false, true},
      {"origin", "tolvar", "origin", "", TriState::kTrue, TriState::kTrue, {}, false, false},
      // No such resource: the default package.
      {"kz", "tolvar", "tolvar_international", "", TriState::kTrue, TriState::kUnset, {}, false,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("brand-name \"" + c.requested + "\"");
    records_.clear();
    BrandInfo brand(WorkingDir());
    brand.set_brand_package_path(WorkingDir().Append(u"BrandFile"));
    GetInfoFromResources(brand, c.requested);
    EXPECT_TRUE(brand.brand_package_present());
    EXPECT_EQ(brand.brand_id(), c.brand_id);
    EXPECT_EQ(brand.brand_name(), c.brand_name);
    EXPECT_EQ(brand.interface_language(), c.language);
    EXPECT_EQ(brand.send_statistics(), c.send_statistics);
    EXPECT_EQ(brand.make_browser_default(), c.make_default);
    EXPECT_EQ(brand.forced_test_ids(), c.test_ids);
    EXPECT_EQ(brand.IsNewIdentity(), c.new_identity);
    EXPECT_EQ(brand.IsDesignFeatureEnabled(), c.design_enabled);
    // Setup URLs come from the compiled-in download host, never a package.
    EXPECT_EQ(brand.setup_url(), "");
    // The package goes to setup as it is stored.
    EXPECT_EQ(ReadFileWithLimit(brand.brand_package_path(), 1 << 20).value_or("").substr(0, 4),
              "MSCF");
    // Shipping builds carry no partner package.
    EXPECT_FALSE(brand.partner_package_present());
    EXPECT_TRUE(Logged("Partner package is empty."));
    EXPECT_FALSE(Logged("Failed to load json"));
  }
}

TEST_F(InstallerResourcesTest, EveryAutodetectedBrandHasItsOwnPackage) {
  // Whatever this machine's region and language choose, a package of that
  // name exists; the default is not needed.
  BrandInfo brand(WorkingDir());
  GetInfo(brand, "auto");
  EXPECT_EQ(brand.brand_name(), AutodetectBrandName());
  EXPECT_FALSE(Logged("Fetching default package"));
  brand.RemoveBrandValues();
}

TEST_F(InstallerResourcesTest, DataFilesAreWrittenInTheirFormats) {
  InstallerDataFiles files(u"", u"", u"", u"");
  ExtractInstallerDataIfAbsent(WorkingDir(), files);
  EXPECT_FALSE(Logged("Failed to extract resource"));

  for (const FilePath* json : {&files.installer_data_path(), &files.abt_config_path()}) {
    std::string error;
    std::optional<Value> value = ReadJson(ReadFileWithLimit(*json, 1 << 20).value_or(""), &error);
    ASSERT_TRUE(value && value->is_dict()) << error;
  }
  std::optional<Value> abt =
      ReadJson(ReadFileWithLimit(files.abt_config_path(), 1 << 20).value_or(""), nullptr);
  ASSERT_TRUE(abt && abt->is_dict());
  EXPECT_NE(abt->FindPath("variations_seed_base64"), nullptr);
  const std::string clids = ReadFileWithLimit(files.clids_path(), 1 << 20).value_or("");
  EXPECT_EQ(clids.rfind("<?xml version=\"1.0\" encoding=\"windows-1251\"?>", 0), 0u) << clids;
  // The vendor name in windows-1251 bytes, not UTF-8.
  EXPECT_NE(clids.find("name=\"\xCE\xCE\xCE \xAB\xD2\xEE\xEB\xE2\xE0\xF0 \xD1\xEE\xF4\xF2\xBB\""),
            std::string::npos);
  const std::string icon = ReadFileWithLimit(files.website_icon_path(), 1 << 20).value_or("");
  EXPECT_EQ(icon.substr(0, 4), std::string("\0\0\1\0", 4));
}

}  // namespace
}  // namespace lite
