// Silent installations behind the user's proxy. The CDN refuses every peer
// but the test proxy's forwarding address, so a run that gets anything from
// it proves the request went through the proxy; the proxy's own record
// tells what it did with each request. The settings are the user's, read
// by every program of the prefix: the suite runs alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/base64.h"
#include "base/file_util_win.h"
#include "base/utf.h"
#include "proxy/proxy_authentication_win.h"
#include "tests/cdn/test_proxy_win.h"
#include "tests/e2e/silent_installation_win.h"
#include "tests/support/user_proxy_settings_win.h"

namespace lite {
namespace {

using testing::Archive;
using testing::FakeSetup;
using testing::RefusingPort;
using testing::ScopedStoredCredential;
using testing::ScopedUserProxySettings;
using testing::SilentInstallation;
using testing::StatEvent;
using testing::TestCdn;
using testing::TestProxy;
using testing::UserProxyValues;

constexpr char kUser[] = "tolvar-proxy-user";
constexpr char kPassword[] = "Pr0xy-S3cret-9";
constexpr char kWrongPassword[] = "Not-The-S3cret-4";
constexpr char kArchivePaths[] = "/browser/";
constexpr char kStatsPrefix[] = "/installstats/";
constexpr char kReportPrefix[] = "/get/browser/install";

enum class ProxyKind {
  kOpen,
  kBasic,        // wants kUser and kPassword
  kUnreachable,  // the settings name a port that refuses connections
};

enum class Stored { kNothing, kRightPassword, kWrongPassword };

enum class Settings {
  kManual,  // every request through the proxy
  // A proxy script on a second CDN sends the download host's requests
  // through the proxy and the statistics host (that second CDN) direct, so
  // that the statistics arrive whatever the proxy does.
  kScriptStatisticsDirect,
};

struct ProxyCase {
  const char* name;
  ProxyKind proxy;
  Stored stored;
  Settings settings;
  const char* archive_rule;  // the proxy's rule for the archive's requests, or null
  int drop_archive_at_percent;  // a one-time drop_after rule at this share, or 0
  int exit_code;
  // The start of each download attempt's error in the statistics; "" for
  // an attempt without an error.
  std::vector<std::string> attempt_errors;
  // What the proxy did with each request for the archive, in order.
  std::vector<std::string> archive_outcomes;
};

void PrintTo(const ProxyCase& c, std::ostream* out) { *out << c.name; }

std::string Text(const Value& record, const char* name) {
  const Value* value = record.FindPath(name);
  if (!value) return "<missing>";
  if (value->GetIfString()) return *value->GetIfString();
  if (value->GetIfInt()) return std::to_string(*value->GetIfInt());
  if (value->is_none()) return "<null>";
  return "<not a string>";
}

std::vector<Value> ListOf(const std::optional<Value>& value) {
  if (!value || !value->GetIfList()) return {};
  return *value->GetIfList();
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "\"" : ", \"") + word + "\"";
  return "[" + text + "]";
}

// The statistics events |cdn| received, in order.
std::vector<StatEvent> StatEventsAt(TestCdn& cdn) {
  std::vector<StatEvent> events;
  for (const Value& record : ListOf(cdn.Requests(kStatsPrefix))) {
    events.push_back(testing::EventVars(Text(record, "target")));
  }
  return events;
}

// The script of Settings::kScriptStatisticsDirect.
std::string ProxyScript(const std::string& download_origin, const std::string& proxy) {
  return "function FindProxyForURL(url, host) {\n"
         "  if (shExpMatch(url, '" + download_origin + "/*'))\n"
         "    return 'PROXY " + proxy + "';\n"
         "  return 'DIRECT';\n"
         "}\n";
}

// The proxy writes its record of a request once the answer is relayed; the
// installer may have ended a moment before the last one is written.
std::vector<Value> ProxyRecordsOnceSettled(TestProxy& proxy) {
  std::vector<Value> records = ListOf(proxy.Requests());
  for (int i = 0; i < 20; ++i) {
    Sleep(100);
    std::vector<Value> again = ListOf(proxy.Requests());
    if (again.size() == records.size()) break;
    records = std::move(again);
  }
  return records;
}

// What a failed case is understood from: the proxy's record and the
// installer's log.
void PrintRun(const std::vector<Value>& proxy_records, const SilentInstallation& run) {
  std::printf("the proxy's record:\n");
  for (const Value& record : proxy_records) {
    std::string headers;
    if (const Value* names = record.FindPath("headers"); names && names->GetIfList()) {
      for (const Value& name : *names->GetIfList()) {
        headers += (name.GetIfString() ? *name.GetIfString() : "?") + " ";
      }
    }
    std::printf("  %s %s -> %s %s, user %s, %s bytes; %s\n", Text(record, "method").c_str(),
                Text(record, "url").c_str(), Text(record, "status").c_str(),
                Text(record, "outcome").c_str(), Text(record, "user").c_str(),
                Text(record, "bytes").c_str(), headers.c_str());
  }
  std::printf("the installer's log:\n");
  for (const std::string& line : run.LogLines()) std::printf("  %s\n", line.c_str());
}

// Runs |print| when the scope ends, whichever assertion ended it.
template <typename Function>
class AtScopeEnd {
 public:
  explicit AtScopeEnd(Function function) : function_(std::move(function)) {}
  AtScopeEnd(const AtScopeEnd&) = delete;
  AtScopeEnd& operator=(const AtScopeEnd&) = delete;
  ~AtScopeEnd() { function_(); }

 private:
  Function function_;
};

class ProxyInstallationTest : public ::testing::TestWithParam<ProxyCase> {};

TEST_P(ProxyInstallationTest, EndsAsTheProxyLetsIt) {
  const ProxyCase& c = GetParam();
  SilentInstallation run;
  run.cdn().set_only_from(testing::kTestProxyForwardsFrom);
  ASSERT_TRUE(run.Serve(Archive::kSigned));
  TestProxy proxy;
  ASSERT_TRUE(proxy.Start(c.proxy == ProxyKind::kBasic
                              ? std::optional<std::string>(std::string(kUser) + ":" + kPassword)
                              : std::nullopt));
  RefusingPort refusing;
  const std::string proxy_host_port = c.proxy == ProxyKind::kUnreachable
                                          ? "127.0.0.1:" + std::to_string(refusing.port())
                                          : proxy.HostPort();
  if (c.archive_rule) {
    ASSERT_TRUE(proxy.SetRule("/browser/*", c.archive_rule));
  }
  const uint64_t archive_size = GetFileSize(testing::ArchivePath(Archive::kSigned)).value_or(0);
  ASSERT_GT(archive_size, 0u);
  const uint64_t drop_after = archive_size * c.drop_archive_at_percent / 100;
  if (c.drop_archive_at_percent) {
    ASSERT_TRUE(proxy.SetRule("/browser/*", "{\"drop_after\": " + std::to_string(drop_after) +
                                                ", \"times\": 1}"));
  }

  // Serves the proxy script and, behind it, the statistics host.
  TestCdn side;
  ASSERT_TRUE(side.Start());
  FakeSetup setup;
  UserProxyValues values = testing::ManualProxy(proxy_host_port);
  // The installer takes a loopback host to bypass whatever proxy a script
  // names, as Windows does (only the manual settings can say otherwise): a
  // script's proxy serves the CDN named by its address as one number.
  std::string origin = run.cdn().Url("");
  if (c.settings == Settings::kScriptStatisticsDirect) {
    origin = "http://2130706433:" + std::to_string(run.cdn().port());
    ASSERT_TRUE(side.ServeProxyScript("/proxy.pac", ProxyScript(origin, proxy_host_port)));
    values = testing::ProxyScript(side.Url("/proxy.pac"));
    setup.environment[u"TOLVAR_LITE_STATS_ENDPOINT_BASE"] = UTF8ToUTF16(side.Url(""));
  }
  ScopedUserProxySettings settings(values);
  ASSERT_TRUE(settings.applied());
  std::optional<ScopedStoredCredential> credential;
  if (c.stored != Stored::kNothing) {
    credential.emplace(proxy_host_port, kUser,
                       c.stored == Stored::kRightPassword ? kPassword : kWrongPassword);
    ASSERT_TRUE(credential->written());
  }

  EXPECT_EQ(run.Run({u"--silent"}, setup, 150000, origin), c.exit_code);
  const bool completes = c.exit_code == 0;
  EXPECT_EQ(run.SetupRecord().has_value(), completes);
  // The proxy passes the requests other than the archive's.
  const bool others_pass = c.proxy == ProxyKind::kOpen ||
                           (c.proxy == ProxyKind::kBasic && c.stored == Stored::kRightPassword);
  // Waits for the final report, after which nothing more is sent.
  const std::vector<std::string> reports = run.FinalReports();
  EXPECT_EQ(reports.size(), others_pass ? 1u : 0u);
  for (const std::string& report : reports) {
    EXPECT_NE(report.find(completes ? "&result=success&" : "&result=failed&"), std::string::npos)
        << report;
  }
  std::printf("%s: exit code after %lu ms\n", c.name, static_cast<unsigned long>(run.run_ms()));

  // What reached the CDN came from the proxy, and the proxy forwarded no
  // more than that.
  const std::vector<Value> proxy_records = ProxyRecordsOnceSettled(proxy);
  const AtScopeEnd print_failed_run([&] {
    if (HasFailure()) PrintRun(proxy_records, run);
  });
  std::map<std::string, int> at_cdn;
  std::set<std::string> paths_at_cdn;
  for (const Value& record : ListOf(run.cdn().Requests())) {
    const std::string target = Text(record, "target");
    EXPECT_EQ(Text(record, "refused_peer"), "<missing>") << target;
    EXPECT_EQ(testing::RequestHeader(record, "Via"), "1.1 tolvar-test-proxy") << target;
    ++at_cdn[origin + target];
    paths_at_cdn.insert(Text(record, "path"));
  }
  std::map<std::string, int> forwarded;
  std::map<std::string, int> auth_required;
  std::vector<std::string> archive_outcomes;
  std::vector<std::string> archive_users;
  std::vector<uint64_t> archive_bytes;
  for (const Value& record : proxy_records) {
    const std::string url = Text(record, "url");
    const std::string outcome = Text(record, "outcome");
    // The script sends nothing for the second CDN through the proxy.
    EXPECT_TRUE(StartsWith(url, origin)) << url;
    if (outcome == "forwarded" || outcome == "dropped") ++forwarded[url];
    if (outcome == "auth_required") ++auth_required[url];
    if (StartsWith(Text(record, "path"), kArchivePaths)) {
      archive_outcomes.push_back(outcome);
      archive_users.push_back(Text(record, "user"));
      const Value* bytes = record.FindPath("bytes");
      archive_bytes.push_back(bytes && bytes->GetIfInt() ? *bytes->GetIfInt() : 0);
    }
    if (outcome == "forwarded" && c.proxy == ProxyKind::kBasic) {
      EXPECT_EQ(Text(record, "user"), kUser) << url;
    }
  }
  EXPECT_EQ(forwarded, at_cdn);
  EXPECT_EQ(archive_outcomes, c.archive_outcomes) << Joined(archive_outcomes);

  // Each request is sent at most the product's bound of times to a proxy
  // that keeps answering 407, in each download attempt.
  int all_407 = 0;
  for (const auto& [url, count] : auth_required) {
    all_407 += count;
    const int attempts = StartsWith(url, origin + kArchivePaths)
                             ? static_cast<int>(c.attempt_errors.size())
                             : 1;
    EXPECT_LE(count, kMaxProxyRequestSends * attempts) << url;
  }
  std::printf("%s: %zu requests recorded by the proxy, %d answered 407\n", c.name,
              proxy_records.size(), all_407);

  if (completes) {
    // The archive, the background fetches, the statistics (when the proxy
    // is to carry them) and the final report reached the CDN.
    std::set<std::string> kinds;
    for (const std::string& path : paths_at_cdn) {
      kinds.insert(StartsWith(path, kArchivePaths) ? "archive"
                   : StartsWith(path, kStatsPrefix) ? "statistics"
                   : StartsWith(path, kReportPrefix) ? "report"
                                                     : path);
    }
    std::set<std::string> expected = {"archive", "report", "/ab/get",
                                      "/content/get/experiments/browser.proto"};
    if (c.settings == Settings::kManual) expected.insert("statistics");
    EXPECT_EQ(kinds, expected);
  }

  // The statistics: through the proxy with the rest, or direct.
  TestCdn& stats_cdn = c.settings == Settings::kManual ? run.cdn() : side;
  const std::vector<StatEvent> events = StatEventsAt(stats_cdn);
  if (c.settings == Settings::kScriptStatisticsDirect) {
    for (const Value& record : ListOf(side.Requests(kStatsPrefix))) {
      EXPECT_EQ(testing::RequestHeader(record, "Via"), std::nullopt) << Text(record, "target");
    }
  }
  std::vector<std::string> errors;
  for (const StatEvent& event : events) {
    const auto action = event.find("action");
    if (action == event.end() || action->second != "download_attempt") continue;
    const auto error = event.find("error");
    errors.push_back(error == event.end() ? "" : error->second);
  }
  std::printf("%s: download attempt errors %s\n", c.name, Joined(errors).c_str());
  ASSERT_EQ(errors.size(), c.attempt_errors.size()) << Joined(errors);
  for (size_t i = 0; i < errors.size(); ++i) {
    if (c.attempt_errors[i].empty()) {
      EXPECT_EQ(errors[i], "") << "attempt " << i + 1;
    } else {
      EXPECT_TRUE(StartsWith(errors[i], c.attempt_errors[i]))
          << "attempt " << i + 1 << ": " << errors[i];
    }
  }

  // A cut transfer is continued through the proxy where it stopped.
  if (c.drop_archive_at_percent) {
    const std::vector<Value> archive_at_cdn = ListOf(run.cdn().Requests(kArchivePaths));
    ASSERT_EQ(archive_at_cdn.size(), 2u);
    ASSERT_EQ(archive_bytes.size(), 2u);
    EXPECT_EQ(archive_bytes[0], drop_after);
    EXPECT_EQ(testing::RequestHeader(archive_at_cdn[0], "Range"), std::nullopt);
    EXPECT_EQ(testing::RequestHeader(archive_at_cdn[1], "Range"),
              "bytes=" + std::to_string(drop_after) + "-");
    EXPECT_EQ(archive_bytes[1], archive_size - drop_after);
  }

  // Credentials: the user name reaches the proxy, the password nothing else.
  if (c.stored != Stored::kNothing) {
    EXPECT_NE(std::find(archive_users.begin(), archive_users.end(), kUser), archive_users.end())
        << Joined(archive_users);
  }
  const std::optional<std::string> log = ReadFileWithLimit(run.log_path(), 1 << 22);
  ASSERT_TRUE(log);
  for (const std::string& secret :
       {std::string(kPassword), std::string(kWrongPassword),
        Base64Encode(std::string(kUser) + ":" + kPassword),
        Base64Encode(std::string(kUser) + ":" + kWrongPassword)}) {
    EXPECT_EQ(log->find(secret), std::string::npos) << secret;
    for (const auto& [url, count] : at_cdn) EXPECT_EQ(url.find(secret), std::string::npos) << url;
  }
  const std::vector<std::string> refusals = run.LogLinesWith(
      "Proxy " + proxy_host_port + " answered 407 Proxy Authentication Required for ");
  const bool wants_other_credentials =
      c.proxy == ProxyKind::kBasic && c.stored != Stored::kRightPassword;
  EXPECT_EQ(!refusals.empty(), wants_other_credentials);
  EXPECT_EQ(run.LogLinesWith("No more download attempts: the proxy wants credentials").size(),
            wants_other_credentials ? 1u : 0u);
  EXPECT_EQ(run.LogLinesWith("Installer exit with code: " + std::to_string(c.exit_code)).size(),
            1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProxyInstallationTest,
    ::testing::Values(
        ProxyCase{"OpenProxy", ProxyKind::kOpen, Stored::kNothing, Settings::kManual, nullptr, 0,
                  0, {""}, {"forwarded"}},
        // Wine's WinINet sends the answer to a 407 without the credentials
        // first and, answered 407 again, adds them itself.
        ProxyCase{"StoredCredentials", ProxyKind::kBasic, Stored::kRightPassword,
                  Settings::kManual, nullptr, 0, 0, {""},
                  {"auth_required", "auth_required", "forwarded"}},
        // A silent run has no prompt: it ends as an unreachable network does,
        // without the five attempts no credentials could change.
        ProxyCase{"NoCredentials", ProxyKind::kBasic, Stored::kNothing,
                  Settings::kScriptStatisticsDirect, nullptr, 0, 401, {"proxy_auth_407_"},
                  {"auth_required"}},
        ProxyCase{"WrongCredentials", ProxyKind::kBasic, Stored::kWrongPassword,
                  Settings::kScriptStatisticsDirect, nullptr, 0, 401, {"proxy_auth_407_"},
                  {"auth_required", "auth_required", "auth_required"}},
        ProxyCase{"ScriptChoosesTheProxyForDownloads", ProxyKind::kOpen, Stored::kNothing,
                  Settings::kScriptStatisticsDirect, nullptr, 0, 0, {""}, {"forwarded"}},
        ProxyCase{"ArchiveDroppedAt40Percent", ProxyKind::kOpen, Stored::kNothing,
                  Settings::kManual, nullptr, 40, 0, {"internet_read_", ""},
                  {"dropped", "forwarded"}},
        // Six attempts 15 s apart: about 75 s each.
        ProxyCase{"UnreachableProxy", ProxyKind::kUnreachable, Stored::kNothing,
                  Settings::kScriptStatisticsDirect, nullptr, 0, 401,
                  std::vector<std::string>(6, "proxy_connect_"), {}},
        ProxyCase{"ProxyRefusesTheArchive", ProxyKind::kOpen, Stored::kNothing,
                  Settings::kManual, R"({"refuse": true})", 0, 401,
                  std::vector<std::string>(6, "proxy_refused_403_"),
                  std::vector<std::string>(6, "refused")}),
    [](const ::testing::TestParamInfo<ProxyCase>& info) { return info.param.name; });

}  // namespace
}  // namespace lite
