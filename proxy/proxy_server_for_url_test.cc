#include "proxy/proxy_server_for_url.h"

#include "gtest/gtest.h"

namespace lite {
namespace {

TEST(ProxyServerForUrlTest, PicksTheProxyWinInetUsesForTheUrl) {
  struct Case {
    const char16_t* servers;
    const char16_t* bypass;
    const char16_t* url;
    const char16_t* want;
  };
  const Case cases[] = {
      {u"", u"", u"http://example.com/a", u""},
      {u"proxy.corp:3128", u"", u"http://example.com/a", u"proxy.corp:3128"},
      {u"proxy.corp:3128", u"", u"https://example.com/a", u"proxy.corp:3128"},
      {u"proxy.corp", u"", u"http://example.com/", u"proxy.corp"},
      {u"http://proxy.corp:8080", u"", u"http://example.com/", u"proxy.corp:8080"},
      // Per-scheme lists; a scheme without an entry goes direct.
      {u"http=plain.corp:80;https=secure.corp:443", u"", u"https://example.com/", u"secure.corp:443"},
      {u"HTTP=plain.corp:80 https=secure.corp:443", u"", u"http://example.com/", u"plain.corp:80"},
      {u"http=plain.corp:80", u"", u"https://example.com/", u""},
      {u"first.corp:1;second.corp:2", u"", u"http://example.com/", u"first.corp:1"},
      {u"https=secure.corp:443;any.corp:3128", u"", u"http://example.com/", u"any.corp:3128"},
      // Bypass list: wildcards, letter case, <local>.
      {u"proxy.corp:3128", u"*.internal;example.org", u"http://files.INTERNAL/x", u""},
      {u"proxy.corp:3128", u"*.internal;example.org", u"http://example.org:81/x", u""},
      {u"proxy.corp:3128", u"*.internal;example.org", u"http://example.com/x", u"proxy.corp:3128"},
      {u"proxy.corp:3128", u"<local>", u"http://intranet/x", u""},
      {u"proxy.corp:3128", u"<local>", u"http://intranet.corp/x", u"proxy.corp:3128"},
      {u"proxy.corp:3128", u"10.*", u"http://10.1.2.3/x", u""},
      // User information in the URL does not make another host.
      {u"proxy.corp:3128", u"example.org", u"http://user@example.org/x", u""},
      // Loopback goes direct unless the list takes it out.
      {u"proxy.corp:3128", u"", u"http://127.0.0.1:8000/x", u""},
      {u"proxy.corp:3128", u"", u"http://localhost/x", u""},
      {u"proxy.corp:3128", u"", u"http://[::1]:80/x", u""},
      {u"127.0.0.1:41000", u"<-loopback>", u"http://127.0.0.1:8000/x", u"127.0.0.1:41000"},
      {u"127.0.0.1:41000", u"<-Loopback>;<local>", u"http://localhost/x", u""},
  };
  for (const Case& c : cases) {
    ProxyChoice choice;
    choice.servers = c.servers;
    choice.bypass = c.bypass;
    choice.source = choice.servers.empty() ? ProxySource::kDirect : ProxySource::kManual;
    EXPECT_EQ(ProxyServerForUrl(choice, c.url), c.want)
        << "servers " << std::string(choice.servers.begin(), choice.servers.end()) << " url "
        << std::string(c.url, c.url + std::char_traits<char16_t>::length(c.url));
  }
}

}  // namespace
}  // namespace lite
