#include "proxy/proxy_resolver_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/cdn/test_cdn_win.h"
#include "tests/support/user_proxy_settings_win.h"

namespace lite {
namespace {

// The user's proxy values for one case; what was there comes back after it.
testing::UserProxyValues Values(bool enable, const std::u16string& server,
                                const std::u16string& bypass, const std::u16string& script) {
  testing::UserProxyValues values;
  values.proxy_enable = enable ? 1 : 0;
  if (!server.empty()) values.proxy_server = server;
  if (!bypass.empty()) values.proxy_override = bypass;
  if (!script.empty()) values.auto_config_url = script;
  return values;
}

// A script that sends one port through a proxy and everything else direct.
constexpr char kScript[] =
    "function FindProxyForURL(url, host) {"
    "  if (shExpMatch(url, '*:7001/*')) return 'PROXY 127.0.0.1:3128; DIRECT';"
    "  return 'DIRECT';"
    "}";

TEST(ChooseProxyForUrlTest, FollowsTheUsersSettings) {
  testing::TestCdn cdn;
  ASSERT_TRUE(cdn.Start());
  ASSERT_TRUE(cdn.ServeProxyScript("/proxy.pac", kScript));
  const std::u16string script = WidenBytes(cdn.Url("/proxy.pac"));
  const std::u16string dead_script = WidenBytes(cdn.Url("/missing.pac"));
  testing::RefusingPort refusing;
  const std::u16string unreachable_script =
      u"http://127.0.0.1:" + WidenBytes(std::to_string(refusing.port())) + u"/proxy.pac";

  struct Case {
    const char* name;
    bool enable;
    std::u16string server;
    std::u16string bypass;
    std::u16string script;
    std::u16string url;
    std::u16string servers;  // expected; empty = direct
    ProxySource source;
  } const cases[] = {
      {"nothing set", false, u"", u"", u"", u"http://127.0.0.1:7001/a", u"", ProxySource::kDirect},
      {"manual proxy", true, u"127.0.0.1:3128", u"<-loopback>", u"", u"http://127.0.0.1:7001/a",
       u"127.0.0.1:3128", ProxySource::kManual},
      {"manual proxy switched off", false, u"127.0.0.1:3128", u"", u"",
       u"http://127.0.0.1:7001/a", u"", ProxySource::kDirect},
      {"script chooses the proxy", false, u"", u"", script, u"http://127.0.0.1:7001/setup",
       u"127.0.0.1:3128", ProxySource::kScript},
      {"script chooses direct", false, u"", u"", script, u"http://127.0.0.1:7002/stats", u"",
       ProxySource::kScript},
      {"script missing, manual proxy", true, u"127.0.0.1:3129", u"", dead_script,
       u"http://127.0.0.1:7003/a", u"127.0.0.1:3129", ProxySource::kManual},
      {"script host down, nothing else", false, u"", u"", unreachable_script,
       u"http://127.0.0.1:7004/a", u"", ProxySource::kDirect},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing::ScopedUserProxySettings settings(Values(c.enable, c.server, c.bypass, c.script));
    ASSERT_TRUE(settings.applied());
    const ProxyChoice choice = ChooseProxyForUrl(c.url);
    EXPECT_EQ(choice.servers, c.servers);
    EXPECT_EQ(choice.source, c.source);
    if (c.source == ProxySource::kManual) {
      EXPECT_EQ(choice.bypass, c.bypass);
    }
  }
}

// Every transfer asks from its own thread, and the first ones of a run ask
// at once: each gets the script's answer for its own URL.
TEST(ChooseProxyForUrlTest, ThreadsAskingAtOnceEachGetTheScriptsAnswer) {
  testing::TestCdn cdn;
  ASSERT_TRUE(cdn.Start());
  ASSERT_TRUE(cdn.ServeProxyScript("/at-once.pac", kScript));
  testing::ScopedUserProxySettings settings(
      Values(false, u"", u"", WidenBytes(cdn.Url("/at-once.pac"))));
  ASSERT_TRUE(settings.applied());

  // Hosts of their own in every round: no answer is known for them yet.
  constexpr int kRounds = 5;
  constexpr int kThreads = 8;
  for (int round = 0; round < kRounds; ++round) {
    std::atomic<int> ready{0};
    std::vector<ProxyChoice> choices(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([round, t, &ready, &choices] {
        const std::u16string url = u"http://10.9." + WidenBytes(std::to_string(round)) + u"." +
                                   WidenBytes(std::to_string(t + 1)) +
                                   (t % 2 == 0 ? u":7001/a" : u":7002/a");
        ++ready;
        while (ready.load() < kThreads) Sleep(0);
        choices[t] = ChooseProxyForUrl(url);
      });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) {
      SCOPED_TRACE(std::to_string(round) + "/" + std::to_string(t));
      EXPECT_EQ(choices[t].source, ProxySource::kScript);
      EXPECT_EQ(choices[t].servers, t % 2 == 0 ? u"127.0.0.1:3128" : u"");
    }
  }
}

}  // namespace
}  // namespace lite
