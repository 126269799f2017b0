#include "logging/logger.h"

#include <mutex>

namespace lite {
namespace {

struct LoggerSlot {
  std::mutex lock;
  std::shared_ptr<Logger> logger;
};

// Built on first use; function-local statics are initialised once even when
// several threads log at the same time.
LoggerSlot& Slot() {
  static LoggerSlot* slot = new LoggerSlot();  // never destroyed: threads may log at exit
  return *slot;
}

}  // namespace

void SetGlobalLogger(std::unique_ptr<Logger> logger) {
  std::shared_ptr<Logger> previous;
  {
    std::lock_guard<std::mutex> hold(Slot().lock);
    previous = std::move(Slot().logger);
    Slot().logger = std::move(logger);
  }
  // |previous| is destroyed here, outside the lock, once no call uses it.
}

std::shared_ptr<Logger> GetGlobalLogger() {
  std::lock_guard<std::mutex> hold(Slot().lock);
  return Slot().logger;
}

}  // namespace lite
