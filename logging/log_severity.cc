#include "logging/log_severity.h"

#include <cstdlib>

namespace lite {

const char* LogSeverityName(int32_t severity) {
  switch (severity) {
    case LOGSEV_INFO:
      return "INFO";
    case LOGSEV_ERROR:
      return "ERROR";
    case LOGSEV_WARNING:
      return "WARNING";
  }
  std::abort();  // a severity outside the table is a bug at the call site
}

}  // namespace lite
