#include "crash/upload_url.h"

#include <cstdio>

namespace lite {
namespace {

constexpr size_t kMaxQueryParameterLength = 127;
// VOS_NT_WINDOWS32: the file is meant for 32-bit Windows NT.
constexpr uint32_t kFileOsNtWindows32 = 0x40004;

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         c == '-' || c == '_' || c == '.' || c == '~';
}

std::string VersionText(const ModuleVersion& version) {
  char text[64];
  std::snprintf(text, sizeof(text), "%lu.%lu.%lu.%lu",
                static_cast<unsigned long>(version.most_significant >> 16),
                static_cast<unsigned long>(version.most_significant & 0xFFFF),
                static_cast<unsigned long>(version.least_significant >> 16),
                static_cast<unsigned long>(version.least_significant & 0xFFFF));
  return text;
}

}  // namespace

std::string FormatQueryParameter(std::string_view name, std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out(name.substr(0, kMaxQueryParameterLength - 1));
  out += '=';
  for (unsigned char c : value) {
    const size_t width = IsUnreserved(c) ? 1 : 3;
    if (out.size() + width > kMaxQueryParameterLength) break;
    if (width == 1) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

std::string CrashUploadUrl(std::string_view host, const CrashAnnotations& annotations) {
  static constexpr std::pair<const char*, const char*> kQuery[] = {
      {"prod", "product"}, {"ver", "version"}, {"guid", "guid"}};
  std::string url(host);
  url += "/submit";
  bool first = true;
  for (const auto& [annotation, name] : kQuery) {
    const auto found = annotations.find(annotation);
    if (found == annotations.end()) continue;
    url += first ? '?' : '&';
    url += FormatQueryParameter(name, found->second);
    first = false;
  }
  return url;
}

std::string CrashpadUserAgent(const std::optional<ModuleVersion>& winhttp,
                              const std::optional<ModuleVersion>& kernel32, bool wow64) {
  std::string agent = "Crashpad/0.8.0 WinHTTP";
  if (winhttp) agent += "/" + VersionText(*winhttp);
  if (kernel32 && (kernel32->file_os & kFileOsNtWindows32) == kFileOsNtWindows32) {
    agent += " Windows_NT/" + VersionText(*kernel32) + " (x86";
    if (wow64) agent += "; WoW64";
    agent += ")";
  }
  return agent;
}

}  // namespace lite
