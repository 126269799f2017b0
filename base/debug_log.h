// The foundation library's own diagnostics file, "debug.log" beside the
// executable, for low-level messages that do not belong in the installer's
// log. DLOG(ERROR) << "text";
#ifndef BASE_DEBUG_LOG_H_
#define BASE_DEBUG_LOG_H_

#include <string>

#include "base/time.h"

namespace lite {

enum DebugLogSeverity { DLOGSEV_INFO, DLOGSEV_WARNING, DLOGSEV_ERROR, DLOGSEV_FATAL };

// "[MMDD/HHMMSS.mmm:ERROR:file.cc(12)] message\n" with local time; |file|
// is reduced to its base name.
std::string FormatDebugLogLine(const CivilTime& local_time, DebugLogSeverity severity,
                               const char* file, int line, const std::string& message);

// Appends one line; messages are dropped when no file can be opened.
void WriteDebugLog(DebugLogSeverity severity, const char* file, int line,
                   const std::string& message);

// Turns the file off for the rest of the process, before it is first
// opened: a process with more rights than the owner of the folder beside the
// executable neither deletes, creates nor appends to anything there. Its
// messages are dropped.
void DisableDebugLog();

class DebugLogMessage {
 public:
  DebugLogMessage(DebugLogSeverity severity, const char* file, int line)
      : severity_(severity), file_(file), line_(line) {}
  ~DebugLogMessage() { WriteDebugLog(severity_, file_, line_, text_); }
  DebugLogMessage& operator<<(const std::string& text) {
    text_ += text;
    return *this;
  }
  DebugLogMessage& operator<<(const char* text) {
    text_ += text;
    return *this;
  }
  DebugLogMessage& operator<<(long long value) {
    text_ += std::to_string(value);
    return *this;
  }

 private:
  DebugLogSeverity severity_;
  const char* file_;
  int line_;
  std::string text_;
};

}  // namespace lite

// The line shows only the file's name, so only the name goes into the
// executable: a path would make the binary depend on where it was built,
// and a compiler cache hands over objects compiled with paths of its own
// choosing, which no prefix map of the build can catch.
#ifdef __FILE_NAME__
#define TL_DLOG_FILE __FILE_NAME__
#else
#define TL_DLOG_FILE __FILE__
#endif
#define DLOG(severity) \
  ::lite::DebugLogMessage(::lite::DLOGSEV_##severity, TL_DLOG_FILE, __LINE__)

#endif  // BASE_DEBUG_LOG_H_
