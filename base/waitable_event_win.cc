#include "base/waitable_event_win.h"

#include "base/wide_string_win.h"

namespace lite {

bool IsEventSignaled(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

WaitableEvent::WaitableEvent(Reset reset, bool signaled,
                             const std::u16string& name)
    : handle_(CreateEventW(nullptr, reset == Reset::kManual, signaled,
                           name.empty() ? nullptr : AsWide(name))) {}

bool WaitableEvent::Wait(DWORD timeout_ms) const {
  return WaitForSingleObject(handle_.get(), timeout_ms) == WAIT_OBJECT_0;
}

int WaitForAny(const HANDLE* handles, DWORD count, DWORD timeout_ms) {
  const DWORD result = WaitForMultipleObjects(count, handles, FALSE, timeout_ms);
  if (result < WAIT_OBJECT_0 + count) return static_cast<int>(result - WAIT_OBJECT_0);
  return -1;
}

}  // namespace lite
