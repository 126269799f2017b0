#include <cstdio>
#include <ctime>

#include "base/debug_log.h"

namespace lite {

namespace {
bool g_disabled = false;
}  // namespace

void DisableDebugLog() { g_disabled = true; }

// The host build has no executable directory to write beside; its messages
// go to standard error in the same form.
void WriteDebugLog(DebugLogSeverity severity, const char* file, int line,
                   const std::string& message) {
  if (g_disabled) return;
  const std::time_t now = std::time(nullptr);
  std::tm local;
  localtime_r(&now, &local);
  const CivilTime t = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                       local.tm_min,         local.tm_sec,     0};
  std::fputs(FormatDebugLogLine(t, severity, file, line, message).c_str(), stderr);
}

}  // namespace lite
