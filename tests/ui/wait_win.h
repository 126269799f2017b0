// Waiting on a condition of another process (a window, a log line, an exit)
// with a deadline: under Wine on a busy machine anything may take seconds,
// so callers wait for what they need instead of sleeping a fixed time.
#ifndef TESTS_UI_WAIT_WIN_H_
#define TESTS_UI_WAIT_WIN_H_

#include <windows.h>

namespace lite {
namespace testing {

// Calls |condition| every |poll_ms| until it holds or |timeout_ms| passed;
// whether it held.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeout_ms, DWORD poll_ms = 50) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(poll_ms);
  }
}

// Time-outs generous enough for a loaded two-core machine under Wine.
inline constexpr DWORD kWindowTimeoutMs = 60000;
inline constexpr DWORD kRunTimeoutMs = 120000;

}  // namespace testing
}  // namespace lite

#endif  // TESTS_UI_WAIT_WIN_H_
