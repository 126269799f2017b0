// Silent installations that reach the setup program: what setup is handed,
// what it leaves behind, how its exit code ends the run, and what the
// statistics endpoints hear about it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <regex>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "installer/command_line/installer_command_line.h"
#include "tests/e2e/silent_installation_win.h"

namespace lite {
namespace {

using testing::Archive;
using testing::FakeSetup;
using testing::SilentInstallation;
using testing::StatEvent;

// The command line the fake setup program was started with, read the way
// the installer reads its own.
std::optional<InstallerCommandLine> SetupCommandLine(const SilentInstallation& run) {
  std::optional<Value> record = run.SetupRecord();
  if (!record) return std::nullopt;
  const Value* arguments = record->FindPath("arguments");
  if (!arguments || !arguments->is_list()) return std::nullopt;
  std::vector<std::u16string> words;
  for (const Value& word : *arguments->GetIfList()) {
    words.push_back(UTF8ToUTF16(word.GetIfString() ? *word.GetIfString() : ""));
  }
  return InstallerCommandLine::FromWords(words);
}

std::map<std::string, std::string> RegistryDuringSetup(const SilentInstallation& run) {
  std::map<std::string, std::string> values;
  std::optional<Value> record = run.SetupRecord();
  const Value* registry = record ? record->FindPath("registry") : nullptr;
  if (!registry || !registry->is_dict()) return values;
  for (const auto& [name, value] : *registry->GetIfDict()) {
    values[name] = value.GetIfString() ? *value.GetIfString() : "<not a string>";
  }
  return values;
}

// Removes |name| from |switches| and returns its value.
std::string Take(InstallerCommandLine::SwitchMap* switches, const std::string& name) {
  auto found = switches->find(name);
  if (found == switches->end()) return "<absent>";
  std::string value = UTF16ToUTF8(found->second);
  switches->erase(found);
  return value;
}

std::vector<std::string> Stages(const std::vector<StatEvent>& events) {
  std::vector<std::string> stages;
  for (const StatEvent& event : events) {
    auto action = event.find("action");
    auto stage = event.find("stage");
    auto status = event.find("status");
    std::string text = action == event.end() ? "?" : action->second;
    if (stage != event.end()) text += " " + stage->second;
    if (status != event.end()) text += " " + status->second;
    stages.push_back(text);
  }
  return stages;
}

const StatEvent* FindStage(const std::vector<StatEvent>& events, const std::string& stage) {
  for (const StatEvent& event : events) {
    auto found = event.find("stage");
    if (found != event.end() && found->second == stage) return &event;
  }
  return nullptr;
}

TEST(SetupHandoffTest, SuccessfulRunHandsSetupItsSwitchesValuesAndReportsEveryStage) {
  SilentInstallation run;
  ASSERT_TRUE(run.Serve(Archive::kSigned));
  EXPECT_EQ(run.Run({u"--semi-silent", u"--Unknown-Switch=Some Value", u"loose-argument",
                     u"/brand-name=tolvar", u"--distr-info-params=uts2=1&lang=de"}),
            0);
  const std::string temp = UTF16ToUTF8(run.temp_dir());

  // The command line, switch for switch.
  std::optional<InstallerCommandLine> setup = SetupCommandLine(run);
  ASSERT_TRUE(setup) << "setup never ran";
  const std::string program = UTF16ToUTF8(setup->GetProgram());
  EXPECT_EQ(program.rfind(temp, 0), 0u) << program;
  EXPECT_TRUE(std::regex_match(program.substr(temp.size()), std::regex(R"(tq[0-9A-Fa-f]+\.tmp)")))
      << program;
  // Written as the installer renders switches: "--" and the lower-case
  // name, in name order; the loose argument is gone.
  const std::optional<Value> record = run.SetupRecord();
  const std::string raw = *record->FindPath("command_line")->GetIfString();
  EXPECT_NE(raw.find(" --unknown-switch=\"Some Value\""), std::string::npos) << raw;
  EXPECT_EQ(raw.find("loose-argument"), std::string::npos) << raw;
  std::vector<std::string> names;
  for (const Value& word : *record->FindPath("arguments")->GetIfList()) {
    const std::string& text = *word.GetIfString();
    if (text.rfind("--", 0) == 0) names.push_back(text.substr(2, text.find('=') - 2));
  }
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << raw;
  InstallerCommandLine::SwitchMap switches = setup->switches();
  EXPECT_TRUE(std::regex_match(Take(&switches, "install-start-time-no-uac"),
                               std::regex("[1-9][0-9]*")));
  // The background fetches' files: named in the temporary directory even
  // when the fetch found nothing.
  for (const char* name : {"variations-update-path", "abt-update-path"}) {
    EXPECT_EQ(Take(&switches, name).rfind(temp, 0), 0u) << name;
  }
  std::map<std::string, std::string> rest;
  for (const auto& [name, value] : switches) rest[name] = UTF16ToUTF8(value);
  const std::map<std::string, std::string> expected = {
      {"abt-config-resource-file", temp + "abt_config_resource"},
      {"brand-name", "tolvar"},
      {"brand-package", temp + "BrandFile"},
      {"clids-file", temp + "clids.xml"},
      {"distr-info-file", temp + "distrib_info"},
      {"distr-info-params", "uts2=1&lang=de"},
      {"installer-brand-id", "tolvar"},
      {"installerdata", temp + "master_preferences"},
      {"progress-window", "0"},
      {"semi-silent", ""},
      {"send-statistics", ""},  // the brand's default
      {"silent", ""},
      {"source", "lite"},
      {"testids", "401128;402517"},
      {"tolvar-website-icon-file", temp + "website.ico"},
      {"uac-enabled", ""},
      {"unknown-switch", "Some Value"},
      {"use-task-scheduler2", ""},
      {"verbose-logging", ""},
  };
  EXPECT_EQ(rest, expected);

  // The values setup found, and what is left of them afterwards.
  std::map<std::string, std::string> during = RegistryDuringSetup(run);
  const std::string install_stat = during["install_stat"];
  EXPECT_NE(install_stat.find("brand_id\ntolvar\n"), std::string::npos) << install_stat;
  during.erase("install_stat");
  EXPECT_EQ(during, (std::map<std::string, std::string>{
                        {"AbtConfigResourceFile", temp + "abt_config_resource"},
                        {"BrandFile", temp + "BrandFile"},
                        {"ClidsFile", temp + "clids.xml"},
                        {"DistribInfoParams", "uts2=1&lang=de"},
                        {"InstallerData", temp + "master_preferences"},
                        {"TolvarWebsiteIconFile", temp + "website.ico"},
                        {"brand", "tolvar"},
                        {"lang", "de"},
                    }));
  // "install_stat" lives only while an installer runs.
  EXPECT_EQ(testing::PresentHandedOverValues(),
            (std::map<std::string, std::string>{
                {"AbtConfigResourceFile", temp + "abt_config_resource"}, {"lang", "de"}}));
  EXPECT_FALSE(PathExists(FilePath(UTF8ToUTF16(temp + "BrandFile"))));
  EXPECT_FALSE(PathExists(FilePath(setup->GetProgram())));
  EXPECT_TRUE(PathExists(FilePath(UTF8ToUTF16(temp + "master_preferences"))));

  EXPECT_EQ(run.LogLinesWith("Setup process exit with code: SUCCESS_EXIT_CODE(0); error: 0 ")
                .size(),
            1u);

  // The statistics, in the order they were sent.
  const std::vector<StatEvent> events = run.StatEvents();
  EXPECT_EQ(Stages(events),
            (std::vector<std::string>{"installer_started", "download started",
                                      "download_attempt success", "download finished",
                                      "setup setup_exe_launched", "setup setup_exe_exited"}));
  ASSERT_EQ(events.size(), 6u);
  for (const StatEvent& event : events) {
    EXPECT_EQ(event.at("brand_id"), "tolvar");
    EXPECT_EQ(event.at("installer_type"), "lite");
  }
  EXPECT_TRUE(std::regex_match(events[0].at("resolution"), std::regex(R"(\d+x\d+)")));
  const std::string archive_size =
      std::to_string(GetFileSize(testing::ArchivePath(Archive::kSigned)).value_or(0));
  EXPECT_EQ(events[2].at("attempt_number"), "1");
  EXPECT_EQ(events[2].at("downloaded_size"), archive_size);
  EXPECT_EQ(events[2].at("total_size"), archive_size);
  EXPECT_EQ(events[2].count("error"), 0u);
  EXPECT_EQ(events[3].at("install_type"), "normal");
  EXPECT_EQ(events[5].at("error"), "0");
  EXPECT_EQ(events[5].count("setup_time"), 1u);

  const std::vector<std::string> reports = run.FinalReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_TRUE(std::regex_match(
      reports[0], std::regex(R"(/get/browser/install\?ui=[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12})"
                             R"(&result=success&time=\d+&download_time=\d+&install_time=\d+)")))
      << reports[0];
  // Sent after setup ended; setup_exe_exited is queued just before it and
  // may reach the CDN on either side of it.
  EXPECT_GE(run.FinalReportPosition(), 5);
}

TEST(SetupHandoffTest, DoNotLaunchBrowserReachesSetupAndTheRunEndsWithSetup) {
  SilentInstallation run;
  ASSERT_TRUE(run.Serve(Archive::kSigned));
  EXPECT_EQ(run.Run({u"--silent", u"--do-not-launch-browser"}, FakeSetup{0, 2500}), 0);
  std::optional<InstallerCommandLine> setup = SetupCommandLine(run);
  ASSERT_TRUE(setup);
  EXPECT_TRUE(setup->HasSwitch("do-not-launch-browser"));
  EXPECT_FALSE(setup->HasSwitch("semi-silent"));
  EXPECT_FALSE(setup->HasSwitch("uac-enabled"));
  // A silent run has no window to keep open for the browser, with or
  // without the switch: nothing waits the 20 s for the browser's window.
  EXPECT_LT(run.run_ms(), 20000u);
  const std::vector<std::string> reports = run.FinalReports();
  ASSERT_EQ(reports.size(), 1u);
  std::smatch setup_seconds;
  ASSERT_TRUE(std::regex_search(reports[0], setup_seconds, std::regex(R"(&install_time=(\d+)$)")))
      << reports[0];
  EXPECT_GE(std::stoi(setup_seconds[1]), 2);
}

// How the setup program's exit code ends the run.
struct ExitCodeCase {
  int setup_exit_code;
  bool success;
  const char* logged;  // after "Setup process exit with code: "
  const char* reported_error;  // the setup_exe_exited error, null when left out
};

void PrintTo(const ExitCodeCase& c, std::ostream* out) { *out << c.setup_exit_code; }

class SetupExitCodeTest : public ::testing::TestWithParam<ExitCodeCase> {};

TEST_P(SetupExitCodeTest, BecomesTheInstallersExitCode) {
  const ExitCodeCase& c = GetParam();
  SilentInstallation run;
  ASSERT_TRUE(run.Serve(Archive::kSigned));
  EXPECT_EQ(run.Run({u"--silent"}, FakeSetup{c.setup_exit_code}), c.setup_exit_code);
  ASSERT_TRUE(run.SetupRecord()) << "setup never ran";
  EXPECT_EQ(run.LogLinesWith(std::string("Setup process exit with code: ") + c.logged + " (")
                .size(),
            1u);

  const std::vector<StatEvent> events = run.StatEvents();
  const StatEvent* exited = FindStage(events, "setup_exe_exited");
  ASSERT_TRUE(exited);
  if (c.reported_error) {
    EXPECT_EQ(exited->count("error") ? exited->at("error") : "<absent>", c.reported_error);
  } else {
    EXPECT_EQ(exited->count("error"), 0u);
  }
  const std::vector<std::string> reports = run.FinalReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find(c.success ? "&result=success&" : "&result=failed&time=0&"),
            std::string::npos)
      << reports[0];

  // A failed setup leaves everything it was handed for the next attempt.
  std::map<std::string, std::string> left = testing::PresentHandedOverValues();
  std::vector<std::string> names;
  for (const auto& [name, value] : left) names.push_back(name);
  const std::vector<std::string> expected_left =
      c.success ? std::vector<std::string>{"AbtConfigResourceFile", "lang"}
                : std::vector<std::string>{"AbtConfigResourceFile", "BrandFile", "ClidsFile",
                                           "InstallerData", "TolvarWebsiteIconFile", "brand",
                                           "lang"};
  EXPECT_EQ(names, expected_left);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, SetupExitCodeTest,
    ::testing::Values(ExitCodeCase{3, true, "SUCCESS_EXIT_CODE(0); error: 3", nullptr},
                      ExitCodeCase{7, false, "SUCCESS_EXIT_CODE(0); error: 7", "7"},
                      ExitCodeCase{8, false, "SUCCESS_EXIT_CODE(0); error: 8", "8"},
                      ExitCodeCase{42, true, "SUCCESS_EXIT_CODE(0); error: 42", "42"},
                      // All 32 bits come through, and the high byte is named.
                      ExitCodeCase{101 * (1 << 24) + 2, true,
                                   "GENERIC_INITIALIZATION_FAILURE(101); error: 2",
                                   "1694498818"}),
    [](const ::testing::TestParamInfo<ExitCodeCase>& info) {
      return "Code" + std::to_string(info.param.setup_exit_code);
    });

}  // namespace
}  // namespace lite
