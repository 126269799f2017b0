#include "proxy/proxy_resolver_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/cdn/test_cdn_win.h"

namespace lite {
namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// The user's proxy values for one case; what was there comes back after it.
class ScopedSettingsValues {
 public:
  ScopedSettingsValues() {
    RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key_, nullptr);
    for (Saved& saved : saved_) {
      DWORD type = 0, size = sizeof(saved.data);
      saved.present = RegQueryValueExW(key_, saved.name, nullptr, &type, saved.data, &size) ==
                      ERROR_SUCCESS;
      saved.type = type;
      saved.size = size;
    }
  }
  ~ScopedSettingsValues() {
    for (const Saved& saved : saved_) {
      if (saved.present) {
        RegSetValueExW(key_, saved.name, 0, saved.type, saved.data, saved.size);
      } else {
        RegDeleteValueW(key_, saved.name);
      }
    }
    RegCloseKey(key_);
  }
  void Set(bool enable, const std::u16string& server, const std::u16string& bypass,
           const std::u16string& script) {
    const DWORD flag = enable ? 1 : 0;
    RegSetValueExW(key_, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flag),
                   sizeof(flag));
    SetString(L"ProxyServer", server);
    SetString(L"ProxyOverride", bypass);
    SetString(L"AutoConfigURL", script);
  }

 private:
  struct Saved {
    const wchar_t* name;
    bool present = false;
    DWORD type = 0;
    DWORD size = 0;
    BYTE data[2048] = {};
  };
  void SetString(const wchar_t* name, const std::u16string& value) {
    if (value.empty()) {
      RegDeleteValueW(key_, name);
      return;
    }
    RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(AsWide(value)),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }

  HKEY key_ = nullptr;
  Saved saved_[4] = {{L"ProxyEnable"}, {L"ProxyServer"}, {L"ProxyOverride"}, {L"AutoConfigURL"}};
};

// A script that sends one port through a proxy and everything else direct.
constexpr char kScript[] =
    "function FindProxyForURL(url, host) {"
    "  if (shExpMatch(url, '*:7001/*')) return 'PROXY 127.0.0.1:3128; DIRECT';"
    "  return 'DIRECT';"
    "}";

TEST(ChooseProxyForUrlTest, FollowsTheUsersSettings) {
  testing::TestCdn cdn;
  ASSERT_TRUE(cdn.Start());
  ASSERT_TRUE(cdn.SetRule("/proxy.pac",
                          std::string(R"({"headers": {"Content-Type": )"
                                      R"("application/x-ns-proxy-autoconfig"}, "body": ")") +
                              kScript + "\"}"));
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
    ScopedSettingsValues values;
    values.Set(c.enable, c.server, c.bypass, c.script);
    const ProxyChoice choice = ChooseProxyForUrl(c.url);
    EXPECT_EQ(choice.servers, c.servers);
    EXPECT_EQ(choice.source, c.source);
    if (c.source == ProxySource::kManual) {
      EXPECT_EQ(choice.bypass, c.bypass);
    }
  }
}

}  // namespace
}  // namespace lite
