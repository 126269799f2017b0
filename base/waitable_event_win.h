#ifndef BASE_WAITABLE_EVENT_WIN_H_
#define BASE_WAITABLE_EVENT_WIN_H_

#include <windows.h>

#include <string>

#include "base/scoped_handle_win.h"

namespace lite {

// A Windows event, manual- or auto-reset, optionally named.
class WaitableEvent {
 public:
  enum class Reset { kManual, kAutomatic };

  explicit WaitableEvent(Reset reset, bool signaled = false,
                         const std::u16string& name = std::u16string());
  WaitableEvent(const WaitableEvent&) = delete;
  WaitableEvent& operator=(const WaitableEvent&) = delete;

  bool is_valid() const { return handle_.is_valid(); }
  HANDLE handle() const { return handle_.get(); }

  void Signal() { SetEvent(handle_.get()); }
  void ResetEvent() { ::ResetEvent(handle_.get()); }
  // True when signalled within |timeout_ms| (INFINITE waits for ever).
  bool Wait(DWORD timeout_ms = INFINITE) const;
  bool IsSignaled() const { return Wait(0); }

 private:
  ScopedHandle handle_;
};

// Whether |event| is signalled now, without waiting; false for a handle
// that cannot be waited on.
bool IsEventSignaled(HANDLE event);

// Waits for the first of |count| handles; the index of the signalled one,
// or -1 on time-out or failure.
int WaitForAny(const HANDLE* handles, DWORD count, DWORD timeout_ms);

}  // namespace lite

#endif  // BASE_WAITABLE_EVENT_WIN_H_
