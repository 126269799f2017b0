// The log call. LOG(INFO) << "text" << value; writes one record naming the
// calling function and line. PLOG(ERROR) (log_system_error_win.h) appends
// the last Windows error.
#ifndef LOGGING_LOG_MESSAGE_H_
#define LOGGING_LOG_MESSAGE_H_

#include <cstdint>
#include <string>

#include "logging/log_record.h"
#include "logging/log_severity.h"
#include "logging/log_stream.h"

namespace lite {

class LogMessage {
 public:
  // Captures the time and the process and thread ids now, when the call
  // starts; the record is emitted when the object is destroyed.
  LogMessage(int32_t severity, const char* function, int32_t line);
  LogMessage(const LogMessage&) = delete;
  LogMessage& operator=(const LogMessage&) = delete;
  ~LogMessage();

  LogStream& stream() { return stream_; }

 protected:
  LogStream& mutable_stream() { return stream_; }

 private:
  LogRecord record_;
  LogStream stream_;
};

// For failed Windows calls: on completion |error_text| (code, ", " and the
// system's English text) is appended, behind " - " when there is a message.
class SystemErrorLogMessage : public LogMessage {
 public:
  SystemErrorLogMessage(int32_t severity, const char* function, int32_t line,
                        std::string error_text);
  ~SystemErrorLogMessage();

 private:
  std::string error_text_;
};

}  // namespace lite

// The severity word is pasted, never expanded: <windows.h> defines ERROR.
#define LOG(severity) TL_LOG_IMPL(::lite::LOGSEV_##severity, __func__)

// For code that logs under the name of the operation it belongs to rather
// than its own, such as the helpers of the entry sequence.
#define LOG_FROM(severity, function) TL_LOG_IMPL(::lite::LOGSEV_##severity, function)

#define TL_LOG_IMPL(severity_value, function) \
  ::lite::LogMessage(severity_value, function, __LINE__).stream()

#endif  // LOGGING_LOG_MESSAGE_H_
