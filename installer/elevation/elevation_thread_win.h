// Starts the elevated copy away from the window's thread: ShellExecuteExW
// with "runas" returns only once the prompt has been answered and the copy
// started, which takes from a fraction of a second to as long as the user
// looks at the prompt. The window keeps answering meanwhile and hears of the
// outcome through a posted message.
#ifndef INSTALLER_ELEVATION_ELEVATION_THREAD_WIN_H_
#define INSTALLER_ELEVATION_ELEVATION_THREAD_WIN_H_

#include <windows.h>

#include <functional>

#include "base/thread_win.h"

namespace lite {

class ElevationThread {
 public:
  ElevationThread() = default;
  ElevationThread(const ElevationThread&) = delete;
  ElevationThread& operator=(const ElevationThread&) = delete;
  // Waits for a start still under way: it reaches objects its owner holds.
  ~ElevationThread() { Join(); }

  // Runs |start| on a thread of its own, inside a single-threaded COM
  // apartment (the shell's verbs may use COM), then posts |done_message| to
  // |window| with wParam 1 when |start| returned true, else 0. When no
  // thread can be made, runs |start| here and posts the same message.
  void Start(HWND window, UINT done_message, std::function<bool()> start);
  // Until the thread has ended.
  void Join() { thread_.Join(); }

 private:
  Thread thread_;
};

}  // namespace lite

#endif  // INSTALLER_ELEVATION_ELEVATION_THREAD_WIN_H_
