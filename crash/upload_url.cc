#include "crash/upload_url.h"

#include <cstdio>
#include <utility>

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

bool WriteQueryParameter(std::string_view name, std::string_view value, ByteSink* out) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  char text[kMaxQueryParameterLength];
  FixedWriter parameter(text, sizeof(text));
  parameter.Append(name.substr(0, kMaxQueryParameterLength - 1));
  parameter.Append("=");
  for (unsigned char c : value) {
    const char escape[3] = {'%', kHex[c >> 4], kHex[c & 0xF]};
    const char plain = static_cast<char>(c);
    const std::string_view piece = IsUnreserved(c) ? std::string_view(&plain, 1)
                                                   : std::string_view(escape, sizeof(escape));
    if (piece.size() > parameter.free_size()) break;
    parameter.Append(piece);
  }
  return out->Append(parameter.view());
}

std::string FormatQueryParameter(std::string_view name, std::string_view value) {
  std::string out;
  StringByteSink sink(&out);
  WriteQueryParameter(name, value, &sink);
  return out;
}

bool WriteCrashUploadQuery(const CrashKeyList& keys, ByteSink* out) {
  static constexpr std::pair<const char*, const char*> kQuery[] = {
      {"prod", "product"}, {"ver", "version"}, {"guid", "guid"}};
  bool first = true;
  for (const auto& [annotation, name] : kQuery) {
    const std::string_view* value = keys.Find(annotation);
    if (!value) continue;
    if (!out->Append(first ? "?" : "&") || !WriteQueryParameter(name, *value, out)) return false;
    first = false;
  }
  return true;
}

std::string CrashUploadUrl(std::string_view host, const CrashAnnotations& annotations) {
  std::string url(host);
  url += "/submit";
  StringByteSink sink(&url);
  WriteCrashUploadQuery(CrashKeyList(annotations), &sink);
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
