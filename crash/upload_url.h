// Where a crash report is posted, and the user agent it is posted with.
#ifndef CRASH_UPLOAD_URL_H_
#define CRASH_UPLOAD_URL_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "crash/byte_sink.h"
#include "crash/crash_key_table.h"

namespace lite {

// |host| (scheme and host) + "/submit", then "product", "version" and
// "guid" from the annotations "prod", "ver" and "guid", each only when
// present, as "?"/"&" name=value with the value escaped.
std::string CrashUploadUrl(std::string_view host, const CrashAnnotations& annotations);

// The query part of that URL ("?product=...", or nothing), appended to
// |out| without an allocation; false when |out| is full.
bool WriteCrashUploadQuery(const CrashKeyList& keys, ByteSink* out);

// "name=" + |value| with every byte but A-Z a-z 0-9 - _ . ~ written as "%XX",
// cut to at most 127 bytes without splitting an escape.
std::string FormatQueryParameter(std::string_view name, std::string_view value);
bool WriteQueryParameter(std::string_view name, std::string_view value, ByteSink* out);

// A file version (VS_FIXEDFILEINFO's most and least significant halves)
// and its file OS flags.
struct ModuleVersion {
  uint32_t most_significant = 0;
  uint32_t least_significant = 0;
  uint32_t file_os = 0;
};

// "Crashpad/0.8.0 WinHTTP/a.b.c.d Windows_NT/a.b.c.d (x86; WoW64)"; the
// WinHTTP part only with its version, the Windows part only with
// kernel32's version when that file is marked for 32-bit Windows NT.
std::string CrashpadUserAgent(const std::optional<ModuleVersion>& winhttp,
                              const std::optional<ModuleVersion>& kernel32, bool wow64);

}  // namespace lite

#endif  // CRASH_UPLOAD_URL_H_
