#include "base/thread_win.h"

#include <process.h>

namespace lite {

Thread::~Thread() { Join(); }

bool Thread::Start(std::function<void()> body) {
  if (handle_.is_valid()) return false;
  body_ = std::move(body);
  // Through the C runtime, so that its per-thread state is set up.
  unsigned id = 0;
  handle_.reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Thread::ThreadMain, this,
                                                        0, &id)));
  id_ = id;
  return handle_.is_valid();
}

bool Thread::is_running() const {
  return handle_.is_valid() && WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT;
}

bool Thread::Join(DWORD timeout_ms) {
  if (!handle_.is_valid()) return true;
  if (WaitForSingleObject(handle_.get(), timeout_ms) != WAIT_OBJECT_0) return false;
  handle_.reset();
  return true;
}

void Thread::Terminate(DWORD exit_code) {
  if (!handle_.is_valid()) return;
  TerminateThread(handle_.get(), exit_code);
  WaitForSingleObject(handle_.get(), INFINITE);
  handle_.reset();
}

unsigned __stdcall Thread::ThreadMain(void* param) {
  static_cast<Thread*>(param)->body_();
  return 0;
}

}  // namespace lite
