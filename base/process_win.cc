#include "base/process_win.h"

#include <vector>

#include "base/wide_string_win.h"

namespace lite {

bool Process::WaitForExit(DWORD timeout_ms, int* exit_code) const {
  if (WaitForSingleObject(handle_.get(), timeout_ms) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  if (!GetExitCodeProcess(handle_.get(), &code)) return false;
  if (exit_code) *exit_code = static_cast<int>(code);
  return true;
}

bool Process::Terminate(int exit_code) const {
  return TerminateProcess(handle_.get(), static_cast<UINT>(exit_code)) != 0;
}

Process LaunchProcess(const std::u16string& command_line,
                      const LaunchOptions& options) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  if (options.hidden) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  // CreateProcessW may write into the command line, so it gets a copy.
  std::vector<wchar_t> writable(command_line.begin(), command_line.end());
  writable.push_back(L'\0');
  DWORD flags = 0;
  void* environment = nullptr;
  if (!options.environment.empty()) {
    flags |= CREATE_UNICODE_ENVIRONMENT;
    environment = const_cast<char16_t*>(options.environment.c_str());
  }
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr,
                      options.inherit_handles, flags, environment,
                      options.current_directory.empty()
                          ? nullptr
                          : AsWide(options.current_directory),
                      &startup, &info)) {
    return Process();
  }
  CloseHandle(info.hThread);
  return Process(info.hProcess, info.dwProcessId);
}

}  // namespace lite
