#ifndef LOGGING_LOG_SEVERITY_H_
#define LOGGING_LOG_SEVERITY_H_

#include <cstdint>

namespace lite {

// The numbers are part of the log format: 1 is ERROR and 2 is WARNING.
enum LogSeverity : int32_t {
  LOGSEV_INFO = 0,
  LOGSEV_ERROR = 1,
  LOGSEV_WARNING = 2,
};

// "INFO", "ERROR" or "WARNING". Any other value is a programming error and
// stops the process.
const char* LogSeverityName(int32_t severity);

}  // namespace lite

#endif  // LOGGING_LOG_SEVERITY_H_
