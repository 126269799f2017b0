#include "ui/dialogs/url_open_policy.h"

#include <optional>

#include "base/endpoints.h"

namespace lite {
namespace {

constexpr std::string_view kHttps = "https://";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Printable ASCII that a URL may carry unescaped, and "%" only as an escape.
bool HasOnlyUrlCharacters(std::string_view url) {
  for (size_t i = 0; i < url.size(); ++i) {
    const char c = url[i];
    if (c <= 0x20 || c >= 0x7F) return false;
    if (std::string_view("\"<>\\^`{|}").find(c) != std::string_view::npos) return false;
    if (c == '%' && (i + 2 >= url.size() || !IsHexDigit(url[i + 1]) || !IsHexDigit(url[i + 2]))) {
      return false;
    }
  }
  return true;
}

// "host" or "host:port" of an https address, in lower case; nothing for
// another scheme, a user name, an empty host or a character no host has.
std::optional<std::string> HttpsAuthority(std::string_view url) {
  if (url.size() < kHttps.size()) return std::nullopt;
  for (size_t i = 0; i < kHttps.size(); ++i) {
    if (Lower(url[i]) != kHttps[i]) return std::nullopt;
  }
  const std::string_view rest = url.substr(kHttps.size());
  const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  std::string out;
  bool in_port = false;
  for (char c : authority) {
    c = Lower(c);
    if (c == ':' && !in_port && !out.empty()) {
      in_port = true;
    } else if (in_port ? !(c >= '0' && c <= '9') : !IsHostCharacter(c)) {
      return std::nullopt;
    }
    out.push_back(c);
  }
  if (out.empty() || out.back() == ':') return std::nullopt;
  return out;
}

}  // namespace

UrlOpenPolicy::UrlOpenPolicy(const std::vector<std::string_view>& origins) {
  for (std::string_view origin : origins) {
    if (!HasOnlyUrlCharacters(origin)) continue;
    if (std::optional<std::string> authority = HttpsAuthority(origin)) {
      authorities_.push_back(std::move(*authority));
    }
  }
}

bool UrlOpenPolicy::Allows(std::string_view url) const {
  if (!HasOnlyUrlCharacters(url)) return false;
  const std::optional<std::string> authority = HttpsAuthority(url);
  if (!authority) return false;
  for (const std::string& allowed : authorities_) {
    if (allowed == *authority) return true;
  }
  return false;
}

UrlOpenPolicy ConfiguredUrlOpenPolicy(std::string_view license_url,
                                      std::string_view privacy_url) {
  std::vector<std::string_view> origins = {
      endpoints::kLegal,          endpoints::kBrowserSite, endpoints::kBrowserSiteTr,
      endpoints::kBrowserSiteInt, endpoints::kBrowserSiteUa};
  for (std::string_view site : endpoints::kSites) origins.push_back(site);
  origins.push_back(license_url);
  origins.push_back(privacy_url);
  return UrlOpenPolicy(origins);
}

}  // namespace lite
