#include "net/wininet_api_win.h"

#include <delayimp.h>

#include "base/proc_address_win.h"

namespace lite {
namespace {

constexpr DWORD kDelayLoadProcNotFound = 0xC06D007F;
constexpr DWORD kDelayLoadModuleNotFound = 0xC06D007E;

[[noreturn]] void RaiseBindFailure(DWORD code, const char* dll, const char* function) {
  DelayLoadInfo info = {};
  info.cb = sizeof(info);
  info.szDll = dll;
  info.dlp.fImportByName = TRUE;
  info.dlp.szProcName = function;
  info.dwLastError = GetLastError();
  ULONG_PTR arguments[1] = {reinterpret_cast<ULONG_PTR>(&info)};
  for (;;) RaiseException(code, 0, 1, arguments);
}

template <typename Function>
void Bind(HMODULE module, const char* name, Function* slot) {
  *slot = GetProcAddressAs<Function>(module, name);
  if (!*slot) RaiseBindFailure(kDelayLoadProcNotFound, "wininet.dll", name);
}

WinInetApi BindWinInet() {
  // From the system directory only, never from beside the executable.
  HMODULE module = LoadLibraryExW(L"wininet.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
    // Before KB2533623 the search flags are unknown; the hardened search
    // order of the process then applies.
    module = LoadLibraryW(L"wininet.dll");
  }
  if (!module) RaiseBindFailure(kDelayLoadModuleNotFound, "wininet.dll", "InternetOpenW");
  WinInetApi api;
  Bind(module, "InternetOpenW", &api.InternetOpenW);
  Bind(module, "InternetSetStatusCallbackW", &api.InternetSetStatusCallbackW);
  Bind(module, "InternetOpenUrlW", &api.InternetOpenUrlW);
  Bind(module, "InternetReadFile", &api.InternetReadFile);
  Bind(module, "HttpQueryInfoW", &api.HttpQueryInfoW);
  Bind(module, "HttpQueryInfoA", &api.HttpQueryInfoA);
  Bind(module, "InternetCloseHandle", &api.InternetCloseHandle);
  return api;
}

}  // namespace

const WinInetApi& WinInet() {
  static const WinInetApi api = BindWinInet();
  return api;
}

}  // namespace lite
