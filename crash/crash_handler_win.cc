#include "crash/crash_handler_win.h"

#include <windows.h>

#include <atomic>

#include "logging/log_message.h"
#include "logging/logger.h"

namespace lite {
namespace {

// Said once per process, at the first moment the log can take it: the
// handler is installed before the log file is opened.
void TellCaptureIsMissing(const char* what) {
  static std::atomic<bool> told{false};
  if (!GetGlobalLogger() || told.exchange(true)) return;
  LOG(WARNING) << "Crash capture is not part of this build: " << what << " not kept.";
}

}  // namespace

void InstallCrashHandler() { TellCaptureIsMissing("no crash handler installed, crashes"); }

void RemoveCrashHandler() {}

void SetCrashKey(const std::string& name, const std::string& value) {
  TellCaptureIsMissing("crash keys are");
}

void TerminateThroughCrashHandler(uint32_t code) {
  TerminateProcess(GetCurrentProcess(), code);
  ExitProcess(code);  // not reached: TerminateProcess does not return for itself
}

}  // namespace lite
