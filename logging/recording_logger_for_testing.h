// A logger that keeps the records it gets, for tests that check log lines.
#ifndef LOGGING_RECORDING_LOGGER_FOR_TESTING_H_
#define LOGGING_RECORDING_LOGGER_FOR_TESTING_H_

#include <string>
#include <vector>

#include "logging/logger.h"

namespace lite {

class RecordingLogger : public Logger {
 public:
  explicit RecordingLogger(std::vector<LogRecord>* records) : records_(records) {}
  void Emit(const LogRecord& record) override { records_->push_back(record); }

 private:
  std::vector<LogRecord>* records_;
};

// True when a record from |function| starts with |message|.
inline bool HasRecord(const std::vector<LogRecord>& records, const std::string& message,
                      const std::string& function) {
  for (const LogRecord& r : records) {
    if (r.message.rfind(message, 0) == 0 && r.function == function) return true;
  }
  return false;
}

}  // namespace lite

#endif  // LOGGING_RECORDING_LOGGER_FOR_TESTING_H_
