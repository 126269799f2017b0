#include "proxy/proxy_server_for_url.h"

#include <vector>

#include "base/utf.h"

namespace lite {
namespace {

bool IsSeparator(char16_t c) { return c == u';' || c == u' ' || c == u'\t' || c == u','; }

std::vector<std::u16string_view> SplitList(std::u16string_view list) {
  std::vector<std::u16string_view> entries;
  size_t start = 0;
  while (start < list.size()) {
    while (start < list.size() && IsSeparator(list[start])) ++start;
    size_t end = start;
    while (end < list.size() && !IsSeparator(list[end])) ++end;
    if (end > start) entries.push_back(list.substr(start, end - start));
    start = end;
  }
  return entries;
}

// The scheme of |url| in lower case ("http", "https"); empty without one.
std::u16string SchemeOf(std::u16string_view url) {
  const size_t colon = url.find(u"://");
  if (colon == std::u16string_view::npos) return std::u16string();
  return ToLowerASCII(url.substr(0, colon));
}

// The host of |url|: no user information, port or IPv6 brackets.
std::u16string_view HostOf(std::u16string_view url) {
  const size_t colon = url.find(u"://");
  if (colon == std::u16string_view::npos) return std::u16string_view();
  std::u16string_view authority = url.substr(colon + 3);
  authority = authority.substr(0, authority.find_first_of(u"/?#"));
  const size_t at = authority.rfind(u'@');
  if (at != std::u16string_view::npos) authority = authority.substr(at + 1);
  if (!authority.empty() && authority.front() == u'[') {
    const size_t close = authority.find(u']');
    return close == std::u16string_view::npos ? authority.substr(1)
                                              : authority.substr(1, close - 1);
  }
  return authority.substr(0, authority.find(u':'));
}

bool IsLoopback(std::u16string_view host) {
  const std::u16string lower = ToLowerASCII(host);
  return lower == u"localhost" || lower == u"::1" || lower.rfind(u"127.", 0) == 0;
}

// |pattern| with "*" matching any run of characters; both lower case.
bool WildcardMatch(std::u16string_view pattern, std::u16string_view text) {
  size_t p = 0, t = 0, star = std::u16string_view::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (star != std::u16string_view::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

// An entry without its "scheme://" prefix, as WinINet also accepts them.
std::u16string_view WithoutSchemePrefix(std::u16string_view server) {
  const size_t prefix = server.find(u"://");
  return prefix == std::u16string_view::npos ? server : server.substr(prefix + 3);
}

}  // namespace

bool IsProxyBypassed(std::u16string_view bypass, std::u16string_view host) {
  const std::u16string lower_host = ToLowerASCII(host);
  for (std::u16string_view entry : SplitList(bypass)) {
    const std::u16string pattern = ToLowerASCII(entry);
    if (pattern == u"<-loopback>") continue;
    if (pattern == u"<local>") {
      if (lower_host.find(u'.') == std::u16string::npos && lower_host.find(u':') == std::u16string::npos) {
        return true;
      }
      continue;
    }
    if (WildcardMatch(WithoutSchemePrefix(pattern), lower_host)) return true;
  }
  return false;
}

std::u16string ProxyServerForUrl(const ProxyChoice& choice, std::u16string_view url) {
  if (choice.direct()) return std::u16string();
  const std::u16string_view host = HostOf(url);
  if (IsProxyBypassed(choice.bypass, host)) return std::u16string();
  if (IsLoopback(host) && ToLowerASCII(choice.bypass).find(u"<-loopback>") == std::u16string::npos) {
    return std::u16string();
  }
  const std::u16string scheme = SchemeOf(url);
  std::u16string_view fallback;
  for (std::u16string_view entry : SplitList(choice.servers)) {
    const size_t equals = entry.find(u'=');
    if (equals == std::u16string_view::npos) {
      if (fallback.empty()) fallback = entry;
      continue;
    }
    if (ToLowerASCII(entry.substr(0, equals)) == scheme) {
      return std::u16string(WithoutSchemePrefix(entry.substr(equals + 1)));
    }
  }
  return std::u16string(WithoutSchemePrefix(fallback));
}

}  // namespace lite
