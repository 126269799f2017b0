#include "logging/system_error_win.h"

#include <cstdio>

#include "base/utf.h"
#include "base/wide_string_win.h"

namespace lite {
namespace {

constexpr DWORD kEnglishUnitedStates = 1033;
constexpr DWORD kMessageBufferUnits = 1024;

bool FormatFrom(DWORD flags, const void* source, DWORD error, std::u16string* text) {
  wchar_t buffer[kMessageBufferUnits];
  const DWORD length =
      FormatMessageW(flags | FORMAT_MESSAGE_IGNORE_INSERTS, source, error,
                     kEnglishUnitedStates, buffer, kMessageBufferUnits, nullptr);
  if (length == 0) return false;
  *text = FromWide(buffer, length);
  return true;
}

}  // namespace

std::string SystemErrorText(DWORD error) {
  std::u16string message;
  bool found = FormatFrom(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, error, &message);
  for (const wchar_t* module_name : {L"wininet.dll", L"urlmon.dll"}) {
    if (found) break;
    if (HMODULE module = GetModuleHandleW(module_name)) {
      found = FormatFrom(FORMAT_MESSAGE_FROM_HMODULE, module, error, &message);
    }
  }
  std::string text = std::to_string(static_cast<unsigned long>(error)) + ", ";
  if (found) {
    text += UTF16ToUTF8(message);
  } else {
    char unknown[40];
    std::snprintf(unknown, sizeof(unknown), "unknown error 0x%lx\n",
                  static_cast<unsigned long>(error));
    text += unknown;
  }
  return text;
}

}  // namespace lite
