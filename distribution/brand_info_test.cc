#include "distribution/brand_info.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/endpoints.h"
#include "distribution/language_codes.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"

namespace lite {
namespace {

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::StartsWith;

class BrandInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGlobalLogger(std::make_unique<RecordingLogger>(&records_)); }
  void TearDown() override { SetGlobalLogger(nullptr); }

  std::vector<std::string> MessagesFrom(const std::string& function) const {
    std::vector<std::string> messages;
    for (const LogRecord& r : records_) {
      if (r.function == function) messages.push_back(r.message);
    }
    return messages;
  }

  std::vector<LogRecord> records_;
  BrandInfo brand_{FilePath(u"C:\\Temp\\")};
};

TEST_F(BrandInfoTest, EarlierTextWinsForStringsTriStatesAndTestIds) {
  brand_.ApplyBrandInfo(R"({"brand_id": "p", "brand_name": "",
      "install": {"send_statistics": false, "setup_url": 7},
      "forced_testids": ["a", 5, "b"]})");
  brand_.ApplyBrandInfo(R"({"brand_id": "b", "brand_name": "bn",
      "install": {"send_statistics": true, "make_browser_default": false},
      "setup_url": "https://top/level", "forced_testids": ["c"]})");

  EXPECT_EQ(brand_.brand_id(), "p");
  // An empty string leaves the value to a later text.
  EXPECT_EQ(brand_.brand_name(), "bn");
  // A nested value of the wrong type falls back to the top-level key.
  EXPECT_EQ(brand_.setup_url(), "https://top/level");
  EXPECT_EQ(brand_.send_statistics(), TriState::kFalse);
  EXPECT_FALSE(brand_.ShouldSendStatistics());
  EXPECT_FALSE(brand_.ShouldMakeBrowserDefault());
  EXPECT_EQ(brand_.alternate_installer_title(), TriState::kUnset);
  EXPECT_FALSE(brand_.ShowAlternateInstallerTitle());
  EXPECT_THAT(brand_.forced_test_ids(), ElementsAre("a", "b"));
}

TEST_F(BrandInfoTest, NestedKeysAndTheirTopLevelFallbacks) {
  brand_.ApplyBrandInfo(R"({
      "install": {"setup_url_version": "v", "conf_policy_url": "cp", "slide_url": "s"},
      "setup_url64": "u64", "setup_url_version64": "v64", "setup_url32": "u32",
      "scenarios_url": "sc", "slide_url_if_tagged": "st", "tlpin_trial_state": "on",
      "preloaded_wallpapers_url": "wp", "license_url": "lic", "partner_id": "pid",
      "urls": {"variations": "var", "abt": "abt", "webntp": "ntp"},
      "variations": "not a fallback", "pin": true})");
  EXPECT_EQ(brand_.setup_url_version(), "v");
  EXPECT_EQ(brand_.conf_policy_url(), "cp");
  EXPECT_EQ(brand_.slide_url(), "s");
  EXPECT_EQ(brand_.setup_url64(), "u64");
  EXPECT_EQ(brand_.setup_url_version64(), "v64");
  EXPECT_EQ(brand_.setup_url32(), "u32");
  EXPECT_EQ(brand_.scenarios_url(), "sc");
  EXPECT_EQ(brand_.slide_url_if_tagged(), "st");
  EXPECT_EQ(brand_.tlpin_trial_state(), "on");
  EXPECT_EQ(brand_.preloaded_wallpapers_url(), "wp");
  EXPECT_EQ(brand_.license_url(), "lic");
  EXPECT_EQ(brand_.partner_id(), "pid");
  EXPECT_EQ(brand_.variations_url(), "var");
  EXPECT_EQ(brand_.abt_url(), "abt");
  EXPECT_EQ(brand_.webntp_url(), "ntp");
  // The pin section has no top-level fallback.
  EXPECT_FALSE(brand_.pin());

  brand_.ApplyBrandInfo(R"({"install": {"pin": null}})");
  EXPECT_FALSE(brand_.pin());
  brand_.ApplyBrandInfo(R"({"install": {"pin": {}}})");
  EXPECT_TRUE(brand_.pin());
  EXPECT_TRUE(HasRecord(records_, "Found install.pin", "ApplyBrandInfo"));
}

TEST_F(BrandInfoTest, LastFeatureObjectWinsAndFlagsAreMaskedByEnabled) {
  // Without any feature object.
  EXPECT_TRUE(brand_.IsDesignFeatureEnabled());
  EXPECT_TRUE(brand_.IsLessContrasty());
  EXPECT_FALSE(brand_.IsFirstScreenOff());
  EXPECT_FALSE(brand_.IsDialogsRedesign());
  EXPECT_FALSE(brand_.IsNewIdentity());

  // Partner text, then brand text.
  brand_.ApplyBrandInfo(R"({"overridden_features": {
      "InstallerNewIdentity2024": {"enabled": true, "params": {"firstScreenOff": true}},
      "InstallerFacetune2023": {"enabled": true, "params": {"lessContrasty": false}}}})");
  EXPECT_TRUE(brand_.IsNewIdentity());
  EXPECT_TRUE(brand_.IsFirstScreenOff());
  EXPECT_TRUE(brand_.IsLessContrasty()) << "only the first matching feature is read";
  brand_.ApplyBrandInfo(R"({"overridden_features": {
      "InstallerFacetune2023": {"enabled": false, "params": {"dialogsRedesign": "yes"}}}})");
  EXPECT_FALSE(brand_.IsDesignFeatureEnabled());
  EXPECT_FALSE(brand_.IsNewIdentity());
  EXPECT_FALSE(brand_.IsFirstScreenOff());
  EXPECT_FALSE(brand_.IsLessContrasty());

  EXPECT_THAT(MessagesFrom("ApplyBrandInfo"),
              ElementsAre("InstallerNewIdentity2024: enabled = 1, firstScreenOff = 1, "
                          "dialogsRedesign = 0",
                          "InstallerFacetune2023: enabled = 0, firstScreenOff = 1, "
                          "dialogsRedesign = 0, lessContrasty = 1"));

  // A 2024 object without "enabled" takes new identity from the held flag.
  BrandInfo fresh(FilePath(u"C:\\Temp\\"));
  fresh.ApplyBrandInfo(R"({"overridden_features": {"InstallerNewIdentity2024": {}}})");
  EXPECT_TRUE(fresh.IsNewIdentity());
}

TEST_F(BrandInfoTest, LanguageIdFollowsTheInterfaceLanguage) {
  brand_.ApplyBrandInfo(R"({"languages": {"interface": "pt-BR"}})");
  EXPECT_EQ(brand_.language_id(), 1046u);
  brand_.SetInterfaceLanguage("de");
  EXPECT_EQ(brand_.language_id(), 1031u);
  brand_.ApplyDefaults();
  EXPECT_EQ(brand_.interface_language(), "de");
  EXPECT_EQ(brand_.language_id(), 1031u);

  BrandInfo other(FilePath(u"C:\\Temp\\"));
  other.ApplyBrandInfo(R"({"languages": {"interface": "pt"}})");
  EXPECT_EQ(other.language_id(), 1033u);
  other.ApplyDefaults();
  EXPECT_EQ(other.interface_language(), GetUserUiLanguageCode())
      << "an unknown configured code falls back as an absent one";
}

// The tag's "lang" reaches document addresses and the slides' path: only one
// of the sixteen codes replaces the language, anything else leaves the one
// the configuration (or, without one, the user's language) gives.
TEST_F(BrandInfoTest, TagLanguageOutsideTheSixteenIsIgnored) {
  const char* const hostile[] = {
      "ru&x\"y", "ru\r\nX-Injected: 1", "../../../evil", "\"ru\"", "ru x", "pt", "PT-BR",
      "en-US",   "",                      "ru?x=1",        "ru#",    "de/../..", "ja\n",
  };
  for (const char* value : hostile) {
    SCOPED_TRACE(value);
    BrandInfo configured(FilePath(u"C:\\Temp\\"));
    configured.ApplyBrandInfo(R"({"languages": {"interface": "kk"}})");
    configured.SetInterfaceLanguage(value);
    configured.ApplyDefaults();
    EXPECT_EQ(configured.interface_language(), "kk");
    EXPECT_EQ(configured.language_id(), 1087u);

    BrandInfo plain(FilePath(u"C:\\Temp\\"));
    plain.SetInterfaceLanguage(value);
    plain.ApplyDefaults();
    EXPECT_EQ(plain.interface_language(), GetUserUiLanguageCode());
  }
  for (const char* code : {"en", "ru", "pt-BR", "zh-TW"}) {
    BrandInfo tagged(FilePath(u"C:\\Temp\\"));
    tagged.ApplyBrandInfo(R"({"languages": {"interface": "kk"}})");
    tagged.SetInterfaceLanguage(code);
    tagged.ApplyDefaults();
    EXPECT_EQ(tagged.interface_language(), code);
  }
}

TEST_F(BrandInfoTest, DefaultsFillOnlyWhatIsEmpty) {
  brand_.ApplyDefaults();
  const std::string cdn(endpoints::kDownloadCdn);
  EXPECT_EQ(brand_.brand_id(), "tolvar");
  EXPECT_EQ(brand_.brand_name(), "tolvar");
  EXPECT_EQ(brand_.setup_url(), cdn + "/browser/tolvar/browser-setup.arc");
  EXPECT_EQ(brand_.scenarios_url(), cdn + "/browser/installer/oriel/scenarios/");
  EXPECT_EQ(brand_.license_url(), std::string(endpoints::kLegal) + "/browser_agreement/");
  EXPECT_EQ(brand_.conf_policy_url(), std::string(endpoints::kLegal) + "/confidential/");
  EXPECT_EQ(brand_.variations_url(),
            std::string(endpoints::kBrowserApi) + "/content/get/experiments/browser.proto");
  EXPECT_EQ(brand_.abt_url(), std::string(endpoints::kBrowserApi) + "/ab/get");
  EXPECT_EQ(brand_.webntp_url(), std::string(endpoints::kWebNtp));
  EXPECT_EQ(brand_.interface_language(), GetUserUiLanguageCode());
  for (const std::string* none : {&brand_.partner_id(), &brand_.setup_url64(),
                                  &brand_.slide_url(), &brand_.preloaded_wallpapers_url()}) {
    EXPECT_EQ(*none, "");
  }

  BrandInfo named(FilePath(u"C:\\Temp\\"));
  named.ApplyBrandInfo(R"({"brand_id": "x", "urls": {"abt": "https://abt.local/q"}})");
  named.ApplyDefaults();
  EXPECT_EQ(named.brand_name(), "x");
  EXPECT_EQ(named.setup_url(), cdn + "/browser/x/browser-setup.arc");
  EXPECT_EQ(named.abt_url(), "https://abt.local/q");
}

TEST_F(BrandInfoTest, BadTextsChangeNothingAndLogWithTheSystemError) {
  brand_.ApplyBrandInfo(R"({"brand_id": "a",})");
  brand_.ApplyBrandInfo(R"([{"brand_id": "b"}])");
  EXPECT_EQ(brand_.brand_id(), "");
  ASSERT_EQ(records_.size(), 2u);
  for (const LogRecord& r : records_) {
    EXPECT_EQ(r.severity, 1);
    EXPECT_STREQ(r.function, "ApplyBrandInfo");
  }
  EXPECT_THAT(records_[0].message, StartsWith("Failed to load json : Line: 1, column: "));
  EXPECT_THAT(records_[1].message, StartsWith("Incorrect format of json - "));
  // The system error's code and text follow the message.
  EXPECT_NE(records_[0].message.find(" - "), std::string::npos);

  // A package's signature line is skipped as a comment.
  brand_.ApplyBrandInfo("//" + std::string(172, 'A') + "\r\n{\"brand_id\": \"signed\"}");
  EXPECT_EQ(brand_.brand_id(), "signed");
}

TEST_F(BrandInfoTest, ClearKeepsWorkingDirectoryAndPackageFlags) {
  brand_.ApplyBrandInfo(R"({"brand_id": "a", "languages": {"interface": "ru"},
      "install": {"pin": true, "send_statistics": false},
      "overridden_features": {"InstallerFacetune2023": {"enabled": false}},
      "forced_testids": ["t"]})");
  brand_.set_brand_package_path(FilePath(u"C:\\Temp\\BrandFile"));
  brand_.set_brand_package_present(true);
  brand_.Clear();
  EXPECT_TRUE(HasRecord(records_, "Reset brand info.", "Clear"));
  EXPECT_EQ(brand_.brand_id(), "");
  EXPECT_EQ(brand_.language_id(), 1033u);
  EXPECT_FALSE(brand_.pin());
  EXPECT_EQ(brand_.send_statistics(), TriState::kUnset);
  EXPECT_TRUE(brand_.IsDesignFeatureEnabled());
  EXPECT_TRUE(brand_.forced_test_ids().empty());
  EXPECT_TRUE(brand_.brand_package_path().empty());
  EXPECT_TRUE(brand_.brand_package_present());
  EXPECT_EQ(brand_.working_dir().value(), u"C:\\Temp\\");
}

TEST_F(BrandInfoTest, LogBrandInfoReportsInItsOrder) {
  brand_.ApplyBrandInfo(R"({"brand_id": "b", "brand_name": "n", "partner_id": "secret",
      "install": {"setup_url": "s", "setup_url_version": "sv", "setup_url64": "s64",
                  "setup_url_version64": "sv64", "setup_url32": "s32",
                  "scenarios_url": "sc", "slide_url": "sl", "slide_url_if_tagged": "slt",
                  "alternate_installer_title": true, "send_statistics": false,
                  "preloaded_wallpapers_url": "wp"},
      "languages": {"interface": "uk"}, "forced_testids": ["1", "2"]})");
  brand_.LogBrandInfo();
  EXPECT_THAT(MessagesFrom("LogBrandInfo"),
              ElementsAre("Brand id: b", "Brand name: n", "Setup url: s",
                          "Versioned setup url: sv", "Setup url64: s64",
                          "Versioned setup url64: sv64", "Setup url32: s32",
                          "Default language: uk", "Oriel install scenarios url: sc",
                          "Install slide url by default: sl",
                          "Install slide url if tagged installer: slt",
                          "Show international title: 1", "Send browser's statistics: 0",
                          "Make browser default after import: 1",
                          "Preloaded wallpapers url: wp", "Test ids: 1, 2"));
}

TEST_F(BrandInfoTest, InstallerQuerySkipsEmptyValuesAndContinuesAnExistingQuery) {
  EXPECT_EQ(AppendQueryParameters("https://h/p?x=1",
                                  {{"brand", "b"}, {"partner", ""}, {"uid", "U"}, {"v", "1"}}),
            "https://h/p?x=1&brand=b&uid=U&v=1");
  EXPECT_EQ(AppendQueryParameters("https://h/p", {{"brand", "a b&c"}, {"partner", "p"}}),
            "https://h/p?brand=a b&c&partner=p");

  brand_.ApplyBrandInfo(R"({"brand_id": "b", "urls": {"abt": "https://abt/get"}})");
  brand_.ApplyDefaults();
  EXPECT_THAT(brand_.GetAbtUrl(), StartsWith("https://abt/get?brand=b&"));
  EXPECT_THAT(brand_.GetAbtUrl(), EndsWith("version=26.12.0.1"));
  EXPECT_EQ(brand_.GetAbtUrl().find("partner="), std::string::npos);
  EXPECT_THAT(brand_.GetVariationsUrl(), StartsWith(brand_.variations_url() + "?brand=b&"));
}

TEST(LanguageCodesTest, ExactCodesAndTheirInverse) {
  const std::pair<const char*, uint32_t> kTable[] = {
      {"ru", 1049},    {"uk", 1058},    {"tr", 1055},    {"de", 1031},    {"es", 3082},
      {"fr", 1036},    {"it", 1040},    {"ja", 1041},    {"kk", 1087},    {"uz", 1091},
      {"cs", 1029},    {"pt-PT", 2070}, {"pt-BR", 1046}, {"zh-CN", 2052}, {"zh-TW", 1028},
  };
  for (const auto& [code, id] : kTable) {
    EXPECT_EQ(LanguageCodeToLangId(code), id) << code;
    EXPECT_EQ(LangIdToLanguageCode(id), code) << id;
  }
  for (const char* other : {"en", "RU", "pt", "pt-br", "", "ru "}) {
    EXPECT_EQ(LanguageCodeToLangId(other), 1033u) << other;
  }
  EXPECT_EQ(LangIdToLanguageCode(1033), "en");
  EXPECT_EQ(LangIdToLanguageCode(0x0819), "en") << "Russian (Moldova) is not in the table";
}

}  // namespace
}  // namespace lite
