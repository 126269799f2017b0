// The process-wide logger slot. Records logged before a logger is installed
// are dropped.
#ifndef LOGGING_LOGGER_H_
#define LOGGING_LOGGER_H_

#include <memory>

#include "logging/log_record.h"

namespace lite {

class Logger {
 public:
  virtual void Emit(const LogRecord& record) = 0;
  virtual ~Logger() = default;
};

// Takes ownership of |logger| and destroys the one installed before it.
void SetGlobalLogger(std::unique_ptr<Logger> logger);
// The installed logger, kept alive for the caller; null when none.
std::shared_ptr<Logger> GetGlobalLogger();

}  // namespace lite

#endif  // LOGGING_LOGGER_H_
