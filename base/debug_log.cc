#include "base/debug_log.h"

#include <cstdio>
#include <cstring>

namespace lite {

std::string FormatDebugLogLine(const CivilTime& t, DebugLogSeverity severity,
                               const char* file, int line, const std::string& message) {
  static const char* const kNames[] = {"INFO", "WARNING", "ERROR", "FATAL"};
  const char* base = file;
  for (const char* p = file; *p; ++p) {
    if (*p == '/' || *p == '\\') base = p + 1;
  }
  char head[320];
  std::snprintf(head, sizeof(head), "[%02d%02d/%02d%02d%02d.%03d:%s:%s(%d)] ", t.month,
                t.day, t.hour, t.minute, t.second, t.millisecond, kNames[severity], base,
                line);
  return head + message + "\n";
}

}  // namespace lite
