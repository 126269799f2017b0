#include "logging/log_message.h"

#include "base/process_ids.h"
#include "base/time.h"
#include "logging/logger.h"

namespace lite {

LogMessage::LogMessage(int32_t severity, const char* function, int32_t line) {
  record_.severity = severity;
  record_.function = function;
  record_.line = line;
  record_.time_micros = WallClockMicros();
  record_.process_id = CurrentProcessId();
  record_.thread_id = CurrentThreadId();
}

LogMessage::~LogMessage() {
  std::shared_ptr<Logger> logger = GetGlobalLogger();
  if (!logger) return;
  record_.message = std::move(stream_.mutable_text());
  logger->Emit(record_);
}

SystemErrorLogMessage::SystemErrorLogMessage(int32_t severity, const char* function,
                                             int32_t line, std::string error_text)
    : LogMessage(severity, function, line), error_text_(std::move(error_text)) {}

SystemErrorLogMessage::~SystemErrorLogMessage() {
  std::string& text = mutable_stream().mutable_text();
  if (!text.empty()) text.append(" - ");
  text.append(error_text_);
}

}  // namespace lite
