#include <gtest/gtest.h>

#include "base/endpoints.h"
#include "stats/install_report_url.h"
#include "stats/landing_url.h"
#include "stats/url_escape.h"

namespace lite {
namespace {

TEST(LandingUrlTest, SiteByBrandId) {
  EXPECT_EQ(LandingSiteForBrand("tolvar"), endpoints::kSites[0]);
  EXPECT_EQ(LandingSiteForBrand("by"), endpoints::kSites[1]);
  EXPECT_EQ(LandingSiteForBrand("int"), endpoints::kSites[2]);
  EXPECT_EQ(LandingSiteForBrand("tb"), endpoints::kSites[3]);
  for (const char* ua : {"ua", "ua-uk", "ua-ru"}) {
    EXPECT_EQ(LandingSiteForBrand(ua), endpoints::kSites[4]) << ua;
  }
  EXPECT_EQ(LandingSiteForBrand("UA"), endpoints::kSites[0]);
  EXPECT_EQ(LandingSiteForBrand(""), endpoints::kSites[0]);
}

TEST(LandingUrlTest, OnlyPassListParametersInNameOrderEscaped) {
  EXPECT_EQ(BuildFullInstallerLandingUrl("by", {{"lang", "ru"}, {"foo", "1"}}),
            std::string(endpoints::kSites[1]) + "/download?lang=ru&full=1&code=lite_install_failed");

  std::map<std::string, std::string> all;
  std::string expected_query;
  for (const char* name : {"banerid", "beta", "betacusto", "bgid", "custo", "expnerida",
                           "football", "lang", "nerida", "partner_id", "pleno",
                           "tlpartner_id"}) {
    all[name] = "v a&";
    expected_query += std::string(name) + "=v%20a%26&";
  }
  all["code"] = "other";
  all["tolvaruid"] = "x";
  EXPECT_EQ(BuildFullInstallerLandingUrl("nope", all),
            std::string(endpoints::kSites[0]) + "/download?" + expected_query +
                "full=1&code=lite_install_failed");
}

TEST(LandingUrlTest, LanguageQueryIsAppendedEscaped) {
  EXPECT_EQ(AppendLanguageQuery("https://legal.example/eula?x=1", "pt-br"),
            "https://legal.example/eula?x=1?lang=pt-br");
}

// The tag's values are not signed: none of them may end its value, add a
// parameter, leave the path or carry a quote, blank or line break onward.
TEST(LandingUrlTest, HostileTagValuesStayInsideTheirValue) {
  struct Case {
    std::string value;
    std::string escaped;
  };
  const Case cases[] = {
      {"ru&x\"y", "ru%26x%22y"},
      {"ru\r\nX: 1", "ru%0D%0AX%3A%201"},
      {"../../evil", "..%2F..%2Fevil"},
      {"\"ru\" --x", "%22ru%22%20--x"},
      {"a#b?c=d", "a%23b%3Fc%3Dd"},
      {"\xD0\xBF", "%D0%BF"},
      {"pt-BR.1_~", "pt-BR.1_~"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeQueryValue(c.value), c.escaped);
    EXPECT_EQ(BuildFullInstallerLandingUrl("tolvar", {{"lang", c.value}, {"custo", "1"}}),
              std::string(endpoints::kSites[0]) + "/download?custo=1&lang=" + c.escaped +
                  "&full=1&code=lite_install_failed");
    EXPECT_EQ(AppendLanguageQuery("https://legal.example/eula", c.value),
              "https://legal.example/eula?lang=" + c.escaped);
  }
}

TEST(InstallReportUrlTest, ResultWordAndOptionalDurations) {
  EXPECT_EQ(InstallResultWord(0, true), "success");
  EXPECT_EQ(InstallResultWord(0, false), "failed");
  EXPECT_EQ(InstallResultWord(2, true), "cancelled");

  InstallReport report;
  report.result = InstallResultWord(0, false);
  EXPECT_EQ(BuildInstallReportUrl("https://r.example", report),
            "https://r.example/get/browser/install?ui=&result=failed&time=0");

  report.installation_id = "6F9619FF-8B86-D011-B42D-00C04FC964FF";
  report.result = InstallResultWord(0, true);
  report.install_micros = 61999999;
  report.download_micros = 999999;  // measured, under a second
  report.setup_micros = 30000000;
  EXPECT_EQ(BuildInstallReportUrl("https://r.example", report),
            "https://r.example/get/browser/install?ui=6F9619FF-8B86-D011-B42D-00C04FC964FF"
            "&result=success&time=61&download_time=0&install_time=30");
}

TEST(InstallReportUrlTest, SecondsTruncateTowardZeroAndInfinityIsKept) {
  EXPECT_EQ(DurationSeconds(-1500000), -1);
  EXPECT_EQ(DurationSeconds(INT64_MAX), INT64_MAX);
  EXPECT_EQ(DurationSeconds(INT64_MIN), INT64_MIN);
  EXPECT_EQ(DurationSeconds(INT64_MAX - 1), (INT64_MAX - 1) / 1000000);
}

}  // namespace
}  // namespace lite
