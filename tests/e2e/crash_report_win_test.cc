// A crash of the real end-to-end installer reaches the test CDN as a crash
// report. Nothing in the installer makes it crash on request: the test
// crashes it from outside, by starting a thread in it at an address where
// nothing is mapped.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/base64.h"
#include "base/file_util_win.h"
#include "base/process_win.h"
#include "base/utf.h"
#include "crash/crashpad_info.h"
#include "product_config.h"
#include "tests/cdn/test_cdn_win.h"
#include "tests/cdn/test_proxy_win.h"
#include "tests/support/child_process_win.h"
#include "tests/support/test_installation_win.h"
#include "tests/support/user_proxy_settings_win.h"

namespace lite {
namespace {

FilePath InstallerE2e() { return testing::BuildDir().Append(u"lite_installer_e2e.exe"); }

// An address no module or heap of a fresh process uses.
constexpr uintptr_t kUnmappedAddress = 0x10;

// How the user's Internet settings reach the CDN.
enum class Route {
  kDirect,
  // The manual proxy is the test proxy, and the CDN serves nobody but it.
  kManualProxy,
  // A proxy script names the test proxy for the CDN; again the CDN serves
  // nobody but the proxy.
  kProxyScript,
};

struct CrashCase {
  int answer;  // the CDN's answer to the upload
  uint32_t exit_code;
  Route route = Route::kDirect;
};

class CrashedInstaller {
 public:
  explicit CrashedInstaller(const CrashCase& c) : case_(c) {
    scratch_ = testing::MakeScratchDir();
    temp_ = scratch_.Append(u"temp");
    CreateDirectoryWithParents(temp_);
  }
  ~CrashedInstaller() { DeletePathRecursively(scratch_); }

  // Runs the installer until it has crashed; its exit code.
  int Run() {
    if (case_.route != Route::kDirect) {
      cdn_.set_only_from(testing::kTestProxyForwardsFrom);
      if (!proxy_.Start()) return -5;
    }
    if (!cdn_.Start()) return -1;
    if (case_.route == Route::kManualProxy) {
      settings_.emplace(testing::ManualProxy(proxy_.HostPort()));
    } else if (case_.route == Route::kProxyScript) {
      // The script is fetched directly, from a server of its own.
      if (!script_host_.Start() ||
          !script_host_.ServeProxyScript(
              "/proxy.pac", "function FindProxyForURL(url, host) { return 'PROXY " +
                                proxy_.HostPort() + "'; }\n")) {
        return -7;
      }
      settings_.emplace(testing::ProxyScript(script_host_.Url("/proxy.pac")));
    }
    if (settings_ && !settings_->applied()) return -6;
    // The setup archive never comes: the installer waits in its download.
    cdn_.SetRule("/browser/*", R"({"hang": true})");
    if (case_.answer != 200) {
      cdn_.SetRule("/submit", "{\"status\": " + std::to_string(case_.answer) + "}");
    }
    std::map<std::u16string, std::u16string> environment = {
        {u"TEMP", temp_.value() + u"\\"},
        {u"TMP", temp_.value() + u"\\"},
        {u"TOLVAR_LITE_ENDPOINT_BASE", UTF8ToUTF16(EndpointBase())},
    };
    LaunchOptions options;
    options.environment = testing::EnvironmentWith(environment);
    Process installer = LaunchProcess(
        testing::JoinCommandLine({InstallerE2e().value(), u"--silent",
                                  u"--distr-info-params=lang=de&uts2=1"}),
        options);
    if (!installer.is_valid()) return -2;
    // The crash keys of the run are set once it says how it installs.
    if (!testing::WaitForFileText(temp_.Append(u"lite_installer.log"),
                                  "Installing in silent mode.", 60000)) {
      installer.Terminate(1);
      return -3;
    }
    ScopedHandle thread(CreateRemoteThread(
        installer.handle(), nullptr, 0,
        reinterpret_cast<LPTHREAD_START_ROUTINE>(kUnmappedAddress), nullptr, 0, nullptr));
    if (!thread.is_valid()) {
      installer.Terminate(1);
      return -4;
    }
    // Wine's dump writer reads the unwind data of every loaded module one
    // call at a time: seconds on an idle machine, minutes on a loaded one.
    int exit_code = -9999;
    if (!installer.WaitForExit(240000, &exit_code)) installer.Terminate(1);
    return exit_code;
  }

  // Wine's WinHTTP asks a proxy in origin form ("POST /submit") when the
  // proxy's host name is the URL's, whatever their ports: behind the proxy
  // the CDN is named by another form of its address, one that needs no
  // hosts file to resolve. A script's proxy is not used for a loopback host,
  // as on Windows, so there it is the address as one number, which nothing
  // takes for loopback.
  std::string EndpointBase() const {
    const std::string port = std::to_string(cdn_.port());
    switch (case_.route) {
      case Route::kDirect:
        break;
      case Route::kManualProxy:
        return "http://127.1:" + port;
      case Route::kProxyScript:
        return "http://2130706433:" + port;
    }
    return cdn_.Url("");
  }

  testing::TestCdn& cdn() { return cdn_; }
  testing::TestProxy& proxy() { return proxy_; }
  const FilePath& temp() const { return temp_; }

 private:
  CrashCase case_;
  FilePath scratch_;
  FilePath temp_;
  testing::TestCdn cdn_;
  testing::TestProxy proxy_;
  testing::TestCdn script_host_;
  // Put back before the proxy goes.
  std::optional<testing::ScopedUserProxySettings> settings_;
};

std::string Text(const Value* value) {
  return value && value->GetIfString() ? *value->GetIfString() : "<missing>";
}

std::string Key(const CrashAnnotations& keys, const std::string& name) {
  const auto found = keys.find(name);
  return found == keys.end() ? "<missing>" : found->second;
}

void CheckCrashReport(const CrashCase& c) {
  CrashedInstaller run(c);
  EXPECT_EQ(static_cast<uint32_t>(run.Run()), c.exit_code);

  const std::optional<Value> uploads = run.cdn().Requests("/submit");
  ASSERT_TRUE(uploads && uploads->is_list());
  ASSERT_EQ(uploads->GetIfList()->size(), 1u);
  const Value& upload = uploads->GetIfList()->front();
  EXPECT_EQ(Text(upload.FindPath("query")), "product=Tolvar&version=" TL_VERSION_STRING);
  EXPECT_EQ(testing::RequestHeader(upload, "Content-Encoding"), "gzip");
  EXPECT_EQ(Text(upload.FindPath("upload.error")), "<missing>");
  const std::string report_id = Text(upload.FindPath("upload.fields.report_id"));

  const std::optional<std::string> dump = Base64Decode(
      Text(upload.FindPath("upload.files.upload_file_minidump.content_base64")));
  ASSERT_TRUE(dump);
  const std::optional<CrashpadInfo> info = ReadCrashpadInfo(*dump);
  ASSERT_TRUE(info);
  const CrashAnnotations& keys = info->annotations;
  EXPECT_EQ(Key(keys, "report_id"), report_id);
  EXPECT_EQ(Key(keys, "ptype"), "installer");
  EXPECT_EQ(Key(keys, "prod"), "Tolvar");
  EXPECT_EQ(Key(keys, "plat"), "Win32");
  EXPECT_EQ(Key(keys, "ver"), TL_VERSION_STRING);
  // The distribution parameters and the brand, set before the download.
  EXPECT_EQ(Key(keys, "lang"), "de");
  EXPECT_EQ(Key(keys, "uts2"), "1");
  EXPECT_EQ(Key(keys, "default_language"), "de");
  EXPECT_EQ(Key(keys, "brand_id"), "tolvar");
  EXPECT_EQ(Key(keys, "brand_name"), "tolvar_international");
  // The dump stays only when the collector did not take it.
  EXPECT_EQ(PathExists(run.temp().Append(UTF8ToUTF16(report_id + ".dmp"))), c.answer != 200);

  if (c.route == Route::kDirect) return;
  // Nothing of the run went around the proxy, the report included.
  const std::optional<Value> all = run.cdn().Requests("");
  ASSERT_TRUE(all && all->is_list());
  for (const Value& request : *all->GetIfList()) {
    EXPECT_EQ(request.FindPath("refused_peer"), nullptr) << Text(request.FindPath("path"));
  }
  const std::optional<Value> sent = run.proxy().Requests("/submit");
  ASSERT_TRUE(sent && sent->is_list());
  ASSERT_EQ(sent->GetIfList()->size(), 1u);
  EXPECT_EQ(Text(sent->GetIfList()->front().FindPath("method")), "POST");
  EXPECT_EQ(Text(sent->GetIfList()->front().FindPath("outcome")), "forwarded");
}

// The handler's own tests (crash/) check that a dump the collector took
// is deleted.
TEST(InstallerCrashReportTest, CrashIsReportedAndTheDumpKeptAfter500) {
  CheckCrashReport({500, 0xC0000005u});
}

// The report goes through the proxy of the user's Internet settings, which
// WinHTTP's own proxy configuration knows nothing of.
TEST(InstallerCrashReportTest, CrashIsReportedThroughTheUsersProxy) {
  CheckCrashReport({200, 0xC0000005u, Route::kManualProxy});
}

// The script runs on a thread of the crash handler's own while the run
// goes on; its answer is what the report uses.
TEST(InstallerCrashReportTest, CrashIsReportedThroughTheProxyAScriptNames) {
  CheckCrashReport({200, 0xC0000005u, Route::kProxyScript});
}

}  // namespace
}  // namespace lite
