#include "distribution/package_sources_win.h"

#include <gtest/gtest.h>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "distribution/brand_autodetect.h"
#include "distribution/language_codes.h"
#include "distribution/resource_bytes_win.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "stats/setup_registry_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

class PackageSourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
    scratch_ = testing::MakeScratchDir();
    brand_ = std::make_unique<BrandInfo>(FilePath(scratch_.value() + u"\\"));
  }
  void TearDown() override {
    brand_->RemoveBrandValues();
    SetGlobalLogger(nullptr);
    DeletePathRecursively(scratch_);
  }

  std::string PackageFile(const std::u16string& name) const {
    return ReadFileWithLimit(scratch_.Append(name), 1 << 20).value_or("<missing>");
  }

  int CountRecords(const std::string& message) const {
    int count = 0;
    for (const LogRecord& r : records_) count += r.message == message;
    return count;
  }

  std::vector<LogRecord> records_;
  FilePath scratch_;
  std::unique_ptr<BrandInfo> brand_;
};

TEST_F(PackageSourcesTest, PartnerFirstThenDefaultBrandPackage) {
  GetInfo(*brand_, "");

  const std::string dir = UTF16ToUTF8(scratch_.value()) + "\\";
  const std::string_view partner = LoadBinResource(nullptr, kPartnerPackageResourceId);
  const std::string_view brand = LoadBinResource(nullptr, kDefaultBrandPackageResourceId);
  EXPECT_TRUE(HasRecord(records_, "Brand package path: " + dir + "BrandFile", "GetInfo"));
  EXPECT_TRUE(HasRecord(records_, "Partner package path: " + dir + "PartnerFile", "GetInfo"));
  EXPECT_TRUE(HasRecord(records_,
                        "Extract Partner package: " + dir + "PartnerFile [" +
                            std::to_string(partner.size()) + "B]",
                        "GetInfoFromResources"));
  EXPECT_TRUE(HasRecord(records_, "Fetching default package", "GetInfoFromResources"));
  EXPECT_TRUE(HasRecord(records_,
                        "Extract Brand package: " + dir + "BrandFile [" +
                            std::to_string(brand.size()) + "B]",
                        "GetInfoFromResources"));
  EXPECT_EQ(PackageFile(u"PartnerFile"), partner);
  EXPECT_EQ(PackageFile(u"BrandFile"), brand);
  EXPECT_TRUE(brand_->partner_package_present());
  EXPECT_TRUE(brand_->brand_package_present());

  // Partner strings win; the brand's design feature, applied last, wins.
  EXPECT_EQ(brand_->brand_id(), "partner_brand");
  EXPECT_EQ(brand_->partner_id(), "partner_7");
  EXPECT_FALSE(brand_->ShouldSendStatistics());
  EXPECT_EQ(brand_->interface_language(), "ru");
  EXPECT_EQ(brand_->language_id(), 1049u);
  EXPECT_FALSE(brand_->IsDesignFeatureEnabled());
  EXPECT_FALSE(brand_->IsNewIdentity());
  EXPECT_EQ(CountRecords("Brand id: partner_brand"), 2) << "each package is logged";
}

TEST_F(PackageSourcesTest, RequestedNamesPickTheirPackageOrTheDefault) {
  struct Case {
    const char* requested;
    const char* fetch_line;
    const wchar_t* resource;  // null: the default package
    const char* brand_name;
  };
  const Case kCases[] = {
      {"ua_ru", "Fetching defined ua_ru package", L"BRAND_UA_RU", "ua_ru_package"},
      {"Ua_Uk", "Fetching defined Ua_Uk package", L"BRAND_UA_UK", "ua_uk_package"},
      {"Auto", "Fetching defined Auto package", nullptr, ""},
      {"nosuch", "Fetching defined nosuch package", nullptr, ""},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.requested);
    records_.clear();
    GetInfo(*brand_, c.requested);
    EXPECT_TRUE(HasRecord(records_, c.fetch_line, "GetInfoFromResources"));
    EXPECT_EQ(HasRecord(records_, "Fetching default package", "GetInfoFromResources"),
              c.resource == nullptr);
    const std::string_view expected =
        c.resource ? LoadBinResource(nullptr, c.resource)
                   : LoadBinResource(nullptr, kDefaultBrandPackageResourceId);
    EXPECT_EQ(PackageFile(u"BrandFile"), expected);
    EXPECT_EQ(brand_->brand_name(), c.brand_name);
  }
}

TEST_F(PackageSourcesTest, AutoLoadsTheAutodetectedBrand) {
  const std::string detected = AutodetectBrandName();
  std::string upper = detected;
  for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));

  records_.clear();
  GetInfo(*brand_, "auto");
  EXPECT_TRUE(HasRecord(records_, "Fetching autodetected " + upper + " package",
                        "GetInfoFromResources"));
  EXPECT_TRUE(HasRecord(records_, "User locale: " + GetUserUiLanguageCode(),
                        "AutodetectBrandName"));
  EXPECT_FALSE(HasRecord(records_, "Fetching default package", "GetInfoFromResources"));
  EXPECT_EQ(brand_->brand_name(), detected + "_package");
}

TEST_F(PackageSourcesTest, PackagesWithoutTheirMemberApplyNothing) {
  for (const char* name : {"mixed_case", "not_a_cabinet"}) {
    SCOPED_TRACE(name);
    records_.clear();
    GetInfo(*brand_, name);
    EXPECT_TRUE(brand_->brand_package_present());
    EXPECT_FALSE(HasRecord(records_, "Fetching default package", "GetInfoFromResources"));
    // Only the partner package reached the report.
    EXPECT_EQ(CountRecords("Brand id: partner_brand"), 1);
  }
}

TEST_F(PackageSourcesTest, WithoutPartnerPackageNoPartnerFileIsStored) {
  ASSERT_TRUE(StoreSetupValue(u"PartnerFile", u"C:\\stale"));
  ScopedLibrary other(LoadLibraryExW(
      AsWide(GetExecutablePath().DirName().Append(u"" TL_BRAND_TEST_OTHER_MODULE).value()),
      nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(other.is_valid());

  GetInfo(*brand_, "", other.get());
  EXPECT_TRUE(HasRecord(records_, "Partner package is empty.", "GetInfoFromResources"));
  EXPECT_TRUE(HasRecord(records_, "Removed HKEY_CURRENT_USER\\Software\\Tolvar\\TolvarBrowser\\"
                                  "PartnerFile",
                        "RemoveSetupValue"));
  EXPECT_FALSE(brand_->partner_package_present());
  EXPECT_FALSE(PathExists(scratch_.Append(u"PartnerFile")));
  EXPECT_EQ(brand_->brand_id(), "default_brand");

  brand_->ApplyDefaults();
  brand_->StoreBrandValues();
  brand_->StoreLanguageValue();
  EXPECT_EQ(ReadSetupValue(u"brand"), std::u16string(u"default_brand"));
  EXPECT_EQ(ReadSetupValue(u"BrandFile"), scratch_.value() + u"\\BrandFile");
  EXPECT_EQ(ReadSetupValue(u"lang"), std::u16string(u"ru"));
  EXPECT_FALSE(ReadSetupValue(u"PartnerFile").has_value());
  brand_->RemoveBrandValues();
  EXPECT_FALSE(ReadSetupValue(u"brand").has_value());
  EXPECT_FALSE(ReadSetupValue(u"BrandFile").has_value());
  RemoveSetupValue(u"lang");
}

TEST_F(PackageSourcesTest, PartnerFileIsStoredWhenThePartnerPackageIsPresent) {
  GetInfo(*brand_, "");
  brand_->StoreBrandValues();
  EXPECT_EQ(ReadSetupValue(u"PartnerFile"), scratch_.value() + u"\\PartnerFile");
}

// The user's region is a setting Windows lets a program change; the UI
// language is fixed for the session, so the expectations follow it.
TEST(UserLanguageTest, TheUsersRegionChoosesTheBrand) {
  const GEOID original = GetUserGeoID(GEOCLASS_NATION);
  const std::string language = GetUserUiLanguageCode();
  const std::pair<GEOID, const char*> kRegions[] = {
      {203, "RU"}, {241, "UA"}, {235, "TR"}, {94, "DE"}};
  for (const auto& [geo_id, region] : kRegions) {
    EXPECT_TRUE(SetUserGeoID(geo_id));
    EXPECT_EQ(AutodetectBrandName(), AutodetectBrandNameFor(region, language)) << region;
  }
  if (original != GEOID_NOT_AVAILABLE) SetUserGeoID(original);
}

TEST(UserLanguageTest, WindowsLanguageMapsIntoTheTable) {
  const std::string code = GetUserUiLanguageCode();
  EXPECT_EQ(code, LangIdToLanguageCode(GetUserDefaultUILanguage()));
  EXPECT_TRUE(code == "en" || LanguageCodeToLangId(code) != 1033u) << code;
  const std::string brand = AutodetectBrandName();
  EXPECT_TRUE(brand == "tolvar" || brand == "ua_uk" || brand == "ua_ru" || brand == "tb")
      << brand;
}

}  // namespace
}  // namespace lite
