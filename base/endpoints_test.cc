#include "base/endpoints.h"

#include <gtest/gtest.h>

namespace lite::endpoints {
namespace {

TEST(EndpointsTest, CompiledInHostGoesToBaseWithPathAndQuery) {
  const std::string stats = std::string(kStats) + "/installstats/send/dtype=stred/*";
  EXPECT_EQ(RewriteCompiledInHost(stats, "http://127.0.0.1:8080"),
            "http://127.0.0.1:8080/installstats/send/dtype=stred/*");
  const std::string report = std::string(kInstallReport) + "?ui=A&result=success";
  EXPECT_EQ(RewriteCompiledInHost(report, "http://127.0.0.1:8080/"),
            "http://127.0.0.1:8080?ui=A&result=success");
  EXPECT_EQ(RewriteCompiledInHost(kSites[4], "http://h:1"), "http://h:1");
}

TEST(EndpointsTest, OtherUrlsAndEmptyBaseStayUnchanged) {
  EXPECT_EQ(RewriteCompiledInHost("https://mirror.example/a", "http://h:1"),
            "https://mirror.example/a");
  // A host that merely starts like a compiled-in one is another host.
  const std::string longer = std::string(kDownloadCdn) + ".evil/x";
  EXPECT_EQ(RewriteCompiledInHost(longer, "http://h:1"), longer);
  const std::string cdn = std::string(kDownloadCdn) + "/browser/x";
  EXPECT_EQ(RewriteCompiledInHost(cdn, ""), cdn);
  EXPECT_EQ(RewriteCompiledInHost("not a url", "http://h:1"), "not a url");
}

}  // namespace
}  // namespace lite::endpoints
