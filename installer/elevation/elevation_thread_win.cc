#include "installer/elevation/elevation_thread_win.h"

#include <objbase.h>

#include <utility>

#include "logging/system_error_win.h"

namespace lite {
namespace {

bool RunInApartment(const std::function<bool()>& start) {
  // ShellExecuteExW documents that COM be initialised on its thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const bool started = start();
  if (SUCCEEDED(com)) CoUninitialize();
  return started;
}

}  // namespace

void ElevationThread::Start(HWND window, UINT done_message, std::function<bool()> start) {
  Join();
  auto body = [window, done_message, start = std::move(start)] {
    const bool started = RunInApartment(start);
    if (!PostMessageW(window, done_message, started ? 1 : 0, 0)) {
      PLOG_FROM(ERROR, "ElevationThread") << "Cannot report the elevated start to the window";
    }
  };
  if (thread_.Start(body)) return;
  PLOG_FROM(ERROR, "ElevationThread") << "Cannot start a thread; starting the elevated copy here";
  body();
}

}  // namespace lite
