#ifndef BASE_PROCESS_WIN_H_
#define BASE_PROCESS_WIN_H_

#include <windows.h>

#include <string>

#include "base/scoped_handle_win.h"

namespace lite {

struct LaunchOptions {
  bool inherit_handles = false;
  bool hidden = false;
  // Environment block (name=value\0...\0\0); empty keeps the caller's.
  std::u16string environment;
  std::u16string current_directory;
};

class Process {
 public:
  Process() = default;
  Process(HANDLE process, DWORD id) : handle_(process), id_(id) {}
  Process(Process&&) = default;
  Process& operator=(Process&&) = default;

  bool is_valid() const { return handle_.is_valid(); }
  HANDLE handle() const { return handle_.get(); }
  DWORD id() const { return id_; }

  // True when the process ended within |timeout_ms|; its exit code then goes
  // to |exit_code|. False on time-out, a failed wait or an unreadable code.
  bool WaitForExit(DWORD timeout_ms, int* exit_code) const;
  bool Terminate(int exit_code) const;

 private:
  ScopedHandle handle_;
  DWORD id_ = 0;
};

// CreateProcessW with |command_line| (program included); the last error is
// kept for the caller when the result is invalid.
Process LaunchProcess(const std::u16string& command_line,
                      const LaunchOptions& options = LaunchOptions());

}  // namespace lite

#endif  // BASE_PROCESS_WIN_H_
