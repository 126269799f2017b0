// Silent installations that never reach the setup program: an archive that
// fails verification and a download network that cannot be reached.
#include <gtest/gtest.h>

#include "tests/e2e/silent_installation_win.h"

namespace lite {
namespace {

using testing::Archive;
using testing::SilentInstallation;
using testing::StatEvent;

struct RejectedArchiveCase {
  const char* name;
  Archive archive;
  const char* logged;  // the verifier's reason
};

void PrintTo(const RejectedArchiveCase& c, std::ostream* out) { *out << c.name; }

class RejectedArchiveTest : public ::testing::TestWithParam<RejectedArchiveCase> {};

TEST_P(RejectedArchiveTest, EndsWith402WithoutStartingSetup) {
  SilentInstallation run;
  ASSERT_TRUE(run.Serve(GetParam().archive));
  EXPECT_EQ(run.Run({u"--silent"}), 402);
  EXPECT_FALSE(run.SetupRecord()) << "setup ran";
  EXPECT_FALSE(run.LogLinesWith(GetParam().logged).empty()) << GetParam().logged;
  EXPECT_EQ(run.LogLinesWith("Module verification failed: ").size(), 1u);
  EXPECT_EQ(run.LogLinesWith("Installer exit with code: 402").size(), 1u);

  std::vector<std::string> actions;
  for (const StatEvent& event : run.StatEvents()) {
    actions.push_back(event.at("action") + (event.count("stage") ? " " + event.at("stage") : ""));
  }
  EXPECT_EQ(actions, (std::vector<std::string>{"installer_started", "download started",
                                               "download_attempt", "download finished",
                                               "verification error"}));
  const std::vector<std::string> reports = run.FinalReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find("&result=failed&time=0"), std::string::npos) << reports[0];
  EXPECT_EQ(reports[0].find("&install_time="), std::string::npos) << reports[0];
}

INSTANTIATE_TEST_SUITE_P(
    Archives, RejectedArchiveTest,
    ::testing::Values(
        RejectedArchiveCase{"Tampered", Archive::kTampered,
                            "Can not find any trusted certificates. "},
        RejectedArchiveCase{"WrongKey", Archive::kWrongKey, "Verify error"},
        RejectedArchiveCase{"UnlistedSigner", Archive::kUnlistedSigner,
                            "Can not find sertificate in trusted list. "}),
    [](const ::testing::TestParamInfo<RejectedArchiveCase>& info) { return info.param.name; });

// Every attempt is refused at once, but the attempt policy still pauses
// 15 s between its six attempts: this case takes about 75 s.
TEST(UnreachableNetworkTest, EndsWith401AfterSixAttempts) {
  testing::RefusingPort refusing;
  ASSERT_NE(refusing.port(), 0);
  SilentInstallation run;
  EXPECT_EQ(run.Run({u"--silent"}, {}, 150000,
                    "http://127.0.0.1:" + std::to_string(refusing.port())),
            401);
  EXPECT_FALSE(run.SetupRecord()) << "setup ran";
  EXPECT_EQ(run.LogLinesWith("Max download attempts failed (6)").size(), 1u);
  EXPECT_EQ(run.LogLinesWith("Module was not downloaded: ").size(), 1u);
  EXPECT_EQ(run.LogLinesWith("Cannot report installation status: ").size(), 1u);
  EXPECT_EQ(run.LogLinesWith("Installer exit with code: 401").size(), 1u);
}

}  // namespace
}  // namespace lite
