#ifndef LOGGING_LOG_RECORD_H_
#define LOGGING_LOG_RECORD_H_

#include <cstdint>
#include <string>

namespace lite {

// What one log call hands to the logger.
struct LogRecord {
  int32_t severity = 0;
  const char* function = "";  // static storage: the calling function's name
  int32_t line = 0;
  int64_t time_micros = 0;    // wall clock when the call started
  uint32_t process_id = 0;
  uint32_t thread_id = 0;
  std::string message;        // UTF-8
};

}  // namespace lite

#endif  // LOGGING_LOG_RECORD_H_
