#include "stats/url_escape_win.h"

#include <windows.h>
#include <shlwapi.h>

#include "base/wide_string_win.h"

namespace lite {

std::u16string EscapeUrlSegmentWithShell(std::u16string_view segment) {
  constexpr DWORD kBufferUnits = 2084;
  const std::u16string input(segment);
  wchar_t buffer[kBufferUnits];
  DWORD length = kBufferUnits;
  if (FAILED(UrlEscapeW(AsWide(input), buffer, &length, URL_ESCAPE_SEGMENT_ONLY)) ||
      length == 0 || length >= kBufferUnits) {
    return std::u16string();
  }
  return FromWide(buffer, length);
}

}  // namespace lite
