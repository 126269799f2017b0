#include "installer/engine/module_acquisition.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "base/endpoints.h"
#include "installer/command_line/installer_command_line.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"

namespace lite {
namespace {

constexpr int64_t kDay = 86'400'000'000;
constexpr int64_t kNow = 400 * 365 * kDay;

// An archive file in memory: the byte counter is all the policy looks at.
class MemorySink : public DownloadSink {
 public:
  bool Write(const char* data, uint32_t count) override {
    bytes_.append(data, count);
    bytes_written_ += count;
    return true;
  }
  bool Reset() override {
    ++resets;
    bytes_.clear();
    bytes_written_ = 0;
    return true;
  }
  int resets = 0;

 private:
  std::string bytes_;
};

// Each attempt writes |fraction| of |total| more bytes, then fails, unless
// the script says it succeeds.
struct ScriptedAttempt {
  bool success = false;
  double fraction = 0;
  uint32_t exception_code = 0;
  std::string failed_module;
  std::string failed_function;
  bool proxy_credentials_exhausted = false;
};

class RecordingReporter : public ModuleDownloadReporter {
 public:
  void OnDownloadStarted() override { ++started; }
  void OnDownloadAttempt(const DownloadAttemptReport& report) override {
    attempts.push_back(report);
  }
  int started = 0;
  std::vector<DownloadAttemptReport> attempts;
};

// The world as the policy sees it: scripted attempts, pauses that only
// count, and a fixed clock.
class FakeEnvironment : public AcquisitionEnvironment {
 public:
  std::deque<ScriptedAttempt> script;
  std::vector<std::u16string> attempted_urls;
  std::vector<uint32_t> bytes_at_start;
  int pauses = 0;
  bool stop_during_pause = false;
  bool stopped = false;
  std::optional<int64_t> creation_time = kNow - kDay;
  static constexpr uint32_t kTotal = 1000;

  std::optional<int64_t> OwnCreationTime() override { return creation_time; }
  int64_t NowSince1601Micros() override { return kNow; }
  bool IsStopRequested() override { return stopped; }
  bool Pause(uint32_t ms) override {
    EXPECT_EQ(ms, kRetryDelayMs);
    ++pauses;
    if (stop_during_pause) stopped = true;
    return stopped;
  }
  DownloadAttemptOutcome RunAttempt(const std::u16string& url, DownloadSink* sink) override {
    attempted_urls.push_back(url);
    bytes_at_start.push_back(sink->bytes_written());
    ScriptedAttempt step;
    if (!script.empty()) {
      step = script.front();
      script.pop_front();
    }
    DownloadAttemptOutcome outcome;
    outcome.total_size = kTotal;
    outcome.exception_code = step.exception_code;
    outcome.failed_module = step.failed_module;
    outcome.failed_function = step.failed_function;
    const std::string chunk(static_cast<size_t>(step.fraction * kTotal), 'x');
    sink->Write(chunk.data(), static_cast<uint32_t>(chunk.size()));
    outcome.success = step.success;
    outcome.proxy_credentials_exhausted = step.proxy_credentials_exhausted;
    if (!step.success && step.exception_code == 0) {
      outcome.error =
          step.proxy_credentials_exhausted ? "proxy_auth-407-1223" : "internet_read-12002";
    }
    return outcome;
  }
};

class ModuleAcquisitionTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGlobalLogger(std::make_unique<RecordingLogger>(&records_)); }
  void TearDown() override { SetGlobalLogger(nullptr); }

  ModuleAcquisition Policy(BrandSetupUrls urls, AcquisitionSystem system = {}) {
    return ModuleAcquisition(std::move(urls), system, &environment_, &reporter_);
  }

  std::vector<LogRecord> records_;
  FakeEnvironment environment_;
  RecordingReporter reporter_;
  MemorySink sink_;
  InstallerCommandLine command_line_;
};

TEST_F(ModuleAcquisitionTest, OneFailingUrlGetsSixAttemptsAndFivePauses) {
  ModuleAcquisition policy = Policy({"https://cdn.example/a.arc", "", ""});
  EXPECT_EQ(policy.DownloadModule(&sink_, command_line_), DownloadResult::kFailed);
  ASSERT_EQ(environment_.attempted_urls.size(), 6u);
  EXPECT_EQ(environment_.attempted_urls[5], u"https://cdn.example/a.arc?from_installer=true");
  EXPECT_EQ(environment_.pauses, 5);
  EXPECT_EQ(reporter_.started, 1);
  ASSERT_EQ(reporter_.attempts.size(), 6u);
  EXPECT_EQ(reporter_.attempts[5].attempt_number, 6);
  EXPECT_EQ(reporter_.attempts[5].error, "internet_read-12002");
  EXPECT_TRUE(HasRecord(records_, "Max download attempts failed (6)", "DownloadModule"));
}

// A proxy that wants credentials the run can no longer offer (its prompt
// cancelled) ends the attempts at every URL at once; a 407 the run may still
// answer does not.
TEST_F(ModuleAcquisitionTest, ExhaustedProxyCredentialsEndTheAttemptsAtOnce) {
  ModuleAcquisition policy =
      Policy({"https://c/plain", "https://c/versioned", "https://c/x64"}, {false, true});
  environment_.script.push_back({});
  ScriptedAttempt refused;
  refused.proxy_credentials_exhausted = true;
  environment_.script.push_back(refused);
  EXPECT_EQ(policy.DownloadModule(&sink_, command_line_), DownloadResult::kFailed);
  EXPECT_EQ(environment_.attempted_urls.size(), 2u);
  EXPECT_EQ(environment_.pauses, 1);
  ASSERT_EQ(reporter_.attempts.size(), 2u);
  EXPECT_EQ(reporter_.attempts[1].error, "proxy_auth-407-1223");
  EXPECT_TRUE(HasRecord(records_,
                        "No more download attempts: the proxy wants credentials this run cannot "
                        "give (2 of 9 made)",
                        "DownloadModule"));
  EXPECT_FALSE(HasRecord(records_, "Max download attempts failed (9)", "DownloadModule"));
}

TEST_F(ModuleAcquisitionTest, ThreeUrlsAreTriedThreeTimesEachAndTheFileRestartsPerUrl) {
  ModuleAcquisition policy =
      Policy({"https://c/plain", "https://c/versioned", "https://c/x64"}, {false, true});
  // Half of the file every time: kept within one URL, dropped at the next.
  for (int i = 0; i < 9; ++i) environment_.script.push_back({false, 0.5});
  EXPECT_EQ(policy.DownloadModule(&sink_, command_line_), DownloadResult::kFailed);
  ASSERT_EQ(environment_.attempted_urls.size(), 9u);
  const std::u16string order[] = {u"https://c/x64", u"https://c/versioned", u"https://c/plain"};
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(environment_.attempted_urls[i], order[i / 3] + u"?from_installer=true") << i;
    EXPECT_EQ(environment_.bytes_at_start[i], i % 3 == 0 ? 0u : (i % 3) * 500u) << i;
    EXPECT_EQ(reporter_.attempts[i].architecture_class, kArchitecture64);
  }
}

TEST_F(ModuleAcquisitionTest, FivePercentStartsOverFiftyPercentContinues) {
  ModuleAcquisition policy = Policy({"https://c/a", "", ""});
  environment_.script = {{false, 0.05}, {false, 0.5}, {true, 0.5}};
  EXPECT_EQ(policy.DownloadModule(&sink_, command_line_), DownloadResult::kSucceeded);
  EXPECT_EQ(environment_.bytes_at_start, (std::vector<uint32_t>{0, 0, 500}));
  ASSERT_EQ(reporter_.attempts.size(), 3u);
  EXPECT_EQ(reporter_.attempts[0].downloaded_size, 50u);
  EXPECT_TRUE(reporter_.attempts[2].success);
  EXPECT_EQ(reporter_.attempts[2].downloaded_size, 1000u);
  EXPECT_EQ(sink_.bytes_written(), 1000u);
}

TEST_F(ModuleAcquisitionTest, StopDuringThePauseEndsAtOnce) {
  ModuleAcquisition policy = Policy({"https://c/a", "", ""});
  environment_.stop_during_pause = true;
  EXPECT_EQ(policy.DownloadModule(&sink_, command_line_), DownloadResult::kFailed);
  EXPECT_EQ(environment_.attempted_urls.size(), 1u);
  EXPECT_EQ(environment_.pauses, 1);
  EXPECT_TRUE(HasRecord(records_, "Max download attempts failed (6)", "DownloadModule"));
}

TEST_F(ModuleAcquisitionTest, ExceptionsEndTheAttemptsWithoutAnEvent) {
  ModuleAcquisition policy = Policy({"https://c/a", "", ""});
  environment_.script = {{false, 0, 0xC06D007E, "CPLib.DLL", "CryptoProRevocationCheck"},
                         {false, 0, 0xC0000005}};
  EXPECT_EQ(policy.DownloadModule(&sink_, command_line_), DownloadResult::kCryptoProFailed);
  EXPECT_TRUE(HasRecord(records_,
                        "Exception with code=3228369022dll_name=CPLib.DLL"
                        "proc_name=CryptoProRevocationCheck",
                        "DownloadModule"));

  EXPECT_EQ(policy.DownloadModule(&sink_, command_line_), DownloadResult::kFailed);
  EXPECT_TRUE(HasRecord(records_, "Exception with code=3221225477", "DownloadModule"));
  EXPECT_TRUE(reporter_.attempts.empty());
  EXPECT_EQ(environment_.attempted_urls.size(), 2u);
}

TEST_F(ModuleAcquisitionTest, UrlSelection) {
  ModuleAcquisition policy = Policy({"https://c/a?x=1", "https://c/v", ""});
  // The 64-bit URL is missing: a warning, then versioned and plain.
  EXPECT_EQ(policy.GetDownloadUrls(kArchitecture64),
            (std::vector<std::string>{"https://c/v?from_installer=true",
                                      "https://c/a?x=1?from_installer=true"}));
  EXPECT_TRUE(HasRecord(records_, "Setup url x64 empty!", "GetDownloadUrlsFromBrandConfig"));

  environment_.creation_time = kNow - 31 * kDay;
  EXPECT_EQ(policy.GetDownloadUrls(kArchitectureDefault).size(), 1u);
  environment_.creation_time = kNow + kDay;  // from the future: still new
  EXPECT_TRUE(policy.IsVersionedSetupUrlAllowed("https://c/v"));
  for (const std::optional<int64_t> unknown : {std::optional<int64_t>(0), std::optional<int64_t>()}) {
    environment_.creation_time = unknown;
    EXPECT_FALSE(policy.IsVersionedSetupUrlAllowed("https://c/v"));
  }
  EXPECT_FALSE(policy.IsVersionedSetupUrlAllowed("https://c/{version}/v"));
  EXPECT_TRUE(HasRecord(records_, "Wrong setup url:https://c/{version}/v",
                        "IsVersionedSetupUrlAllowed"));

  ModuleAcquisition vista = Policy({"https://c/a?x=1", "https://c/v", ""}, {true, true});
  EXPECT_EQ(vista.GetDownloadUrls(kArchitecture64),
            (std::vector<std::string>{std::string(endpoints::kDownloadCdn) +
                                      "/browser-partners/_xp_builds/browser-setup.arc"
                                      "?from_installer=true"}));
}

TEST_F(ModuleAcquisitionTest, ArchitectureSwitches) {
  ModuleAcquisition native32 = Policy({"https://c/a", "", "https://c/64"});
  ModuleAcquisition native64 = Policy({"https://c/a", "", "https://c/64"}, {false, true});
  EXPECT_EQ(native32.GetArchitectureClass(command_line_), kArchitectureDefault);
  EXPECT_EQ(native64.GetArchitectureClass(command_line_), kArchitecture64);
  command_line_.AppendSwitch("download-x32");
  EXPECT_EQ(native64.GetArchitectureClass(command_line_), kArchitectureDefault);
  command_line_.AppendSwitch("download-x64");
  EXPECT_EQ(native32.GetArchitectureClass(command_line_), kArchitecture64);
}

}  // namespace
}  // namespace lite
