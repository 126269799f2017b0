#include "stats/redirect_host_win.h"

#include <windows.h>
#include <wininet.h>

#include "base/utf.h"
#include "base/wide_string_win.h"

namespace lite {

std::optional<std::string> RedirectHostName(const std::u16string& url) {
  constexpr DWORD kBufferUnits = 2084;
  wchar_t canonical[kBufferUnits];
  DWORD canonical_length = kBufferUnits;
  if (!InternetCanonicalizeUrlW(AsWide(url), canonical, &canonical_length, ICU_BROWSER_MODE)) {
    return std::nullopt;
  }
  wchar_t host[kBufferUnits];
  URL_COMPONENTSW components = {};
  components.dwStructSize = sizeof(components);
  components.lpszHostName = host;
  components.dwHostNameLength = kBufferUnits;
  if (!InternetCrackUrlW(canonical, 0, ICU_DECODE, &components) ||
      components.dwHostNameLength == 0) {
    return std::nullopt;
  }
  return UTF16ToUTF8(FromWide(host, components.dwHostNameLength));
}

}  // namespace lite
