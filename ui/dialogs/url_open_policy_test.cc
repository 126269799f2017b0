#include "ui/dialogs/url_open_policy.h"

#include <gtest/gtest.h>

#include <string>

#include "base/endpoints.h"
#include "stats/landing_url.h"
#include "ui/dialogs/browser_site.h"

namespace lite {
namespace {

TEST(UrlOpenPolicyTest, OnlyHttpsOnAConfiguredHostWithUrlCharacters) {
  const UrlOpenPolicy policy({"https://legal.example", "https://Site.Example:8443/x",
                              "http://plain.example", "https://user@named.example",
                              "https://bad host.example"});
  struct Case {
    const char* url;
    bool allowed;
  };
  const Case cases[] = {
      {"https://legal.example/eula/?lang=ru", true},
      {"https://legal.example", true},
      {"HTTPS://LEGAL.example/eula", true},
      {"https://legal.example?lang=ru", true},
      {"https://legal.example#top", true},
      {"https://site.example:8443/download?lang=ru%26x%22y", true},
      // Not https, or not one of the hosts.
      {"http://legal.example/eula", false},
      {"http://plain.example/", false},
      {"file:///C:/Windows/system32/calc.exe", false},
      {"legal.example/eula", false},
      {"https://legal.example.evil.example/", false},
      {"https://evil.example/legal.example", false},
      {"https://site.example/download", false},       // the port is part of the origin
      {"https://site.example:443/download", false},
      {"https://legal.example:8443/", false},
      {"https://legal.example@evil.example/", false},  // a user name hides the host
      {"https://user@named.example/", false},
      {"https://bad host.example/", false},
      {"https://", false},
      {"https://:443/", false},
      {"", false},
      // Characters that end an address on a command line or start another.
      {"https://legal.example/eula?lang=ru\"y", false},
      {"https://legal.example/eula?lang=ru x", false},
      {"https://legal.example/eula?lang=ru\r\n", false},
      {"https://legal.example/eula?lang=ru\n--x", false},
      {"https://legal.example/eula?lang=\t", false},
      {"https://legal.example/a\\b", false},
      {"https://legal.example/<script>", false},
      {"https://legal.example/a|b", false},
      {"https://legal.example/\xD0\xBF", false},
      {"https://legal.example/%", false},
      {"https://legal.example/%2", false},
      {"https://legal.example/%zz", false},
      {"https://legal.example/%2F", true},
  };
  for (const Case& c : cases) EXPECT_EQ(policy.Allows(c.url), c.allowed) << c.url;
}

// Every address the window and the dialogs build for a brand is allowed,
// with any language value the tag might carry, once it is escaped.
TEST(UrlOpenPolicyTest, TheInstallersOwnAddressesAreAllowed) {
  const std::string legal(endpoints::kLegal);
  const UrlOpenPolicy policy = ConfiguredUrlOpenPolicy(
      "https://docs.partner.example/eula/", legal + "/confidential/");
  for (const char* lang : {"ru", "ru&x\"y", "ru\r\nX: 1", "../../evil", "\"q\" --x"}) {
    EXPECT_TRUE(policy.Allows(AppendLanguageQuery(legal + "/browser_agreement/", lang))) << lang;
    EXPECT_TRUE(policy.Allows(AppendLanguageQuery("https://docs.partner.example/eula/", lang)))
        << lang;
    for (const char* brand : {"tolvar", "by", "int", "tb", "ua", "ua-ru", "x"}) {
      EXPECT_TRUE(policy.Allows(BuildFullInstallerLandingUrl(brand, {{"lang", lang}})))
          << brand << " " << lang;
      EXPECT_TRUE(policy.Allows(BrowserSiteUrl(brand))) << brand;
      EXPECT_TRUE(policy.Allows(FeedbackPageUrl(brand))) << brand;
    }
  }
  EXPECT_FALSE(policy.Allows("https://other.partner.example/eula/"));
  // A brand address that is not https adds nothing.
  EXPECT_FALSE(ConfiguredUrlOpenPolicy("http://docs.partner.example/", "")
                   .Allows("https://docs.partner.example/"));
}

}  // namespace
}  // namespace lite
