#include <windows.h>
#include <realtimeapiset.h>

#include "base/file_time_win.h"
#include "base/proc_address_win.h"
#include "base/time.h"

namespace lite {

namespace {

using GetSystemTimeFunction = VOID(WINAPI*)(LPFILETIME);

// The precise clock exists from Windows 8 on; importing it would keep the
// installer from loading on Windows 7.
GetSystemTimeFunction SystemTimeFunction() {
  static const GetSystemTimeFunction function = [] {
    auto precise = GetProcAddressAs<GetSystemTimeFunction>(GetModuleHandleW(L"kernel32.dll"),
                                                           "GetSystemTimePreciseAsFileTime");
    return precise ? precise : &GetSystemTimeAsFileTime;
  }();
  return function;
}

}  // namespace

int64_t WallClockMicros() {
  FILETIME ft;
  SystemTimeFunction()(&ft);
  return FileTimeToMicrosSince1601(ft) - k1601To1970Micros;
}

int64_t UnbiasedInterruptTimeMicros() {
  // Windows 7 and later; importing it would keep the installer from loading
  // on Vista, which it still serves with its own setup URL.
  using QueryFunction = BOOL(WINAPI*)(PULONGLONG);
  static const QueryFunction query = GetProcAddressAs<QueryFunction>(
      GetModuleHandleW(L"kernel32.dll"), "QueryUnbiasedInterruptTime");
  ULONGLONG hundred_ns = 0;
  if (!query || !query(&hundred_ns)) return 0;
  return static_cast<int64_t>(hundred_ns / 10);
}

}  // namespace lite
