#ifndef BASE_THREAD_WIN_H_
#define BASE_THREAD_WIN_H_

#include <windows.h>

#include <functional>

#include "base/scoped_handle_win.h"

namespace lite {

// One Windows thread running one function. The owner joins it (or, as a last
// resort, terminates it) before destruction; the destructor only waits.
class Thread {
 public:
  Thread() = default;
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;
  ~Thread();

  bool Start(std::function<void()> body);
  bool is_running() const;
  // True when the thread ended within |timeout_ms|.
  bool Join(DWORD timeout_ms = INFINITE);
  // For a thread that would not stop: ends it where it stands.
  void Terminate(DWORD exit_code);
  DWORD id() const { return id_; }
  HANDLE handle() const { return handle_.get(); }

 private:
  static unsigned __stdcall ThreadMain(void* param);

  std::function<void()> body_;
  ScopedHandle handle_;
  DWORD id_ = 0;
};

}  // namespace lite

#endif  // BASE_THREAD_WIN_H_
