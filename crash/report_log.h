// Diagnostics noted while a crash report is made. The report cannot format
// text on the heap, so its lines are kept in a fixed buffer and written to
// the diagnostics file only once the report is out.
#ifndef CRASH_REPORT_LOG_H_
#define CRASH_REPORT_LOG_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "crash/byte_sink.h"

namespace lite {

class ReportLog {
 public:
  ReportLog(char* buffer, size_t size) : buffer_(buffer), size_(size), text_(buffer, size) {}

  ReportLog& operator<<(std::string_view text);
  ReportLog& operator<<(int64_t number);
  // Ends the line begun by the appends before; a line that did not fit
  // whole is dropped.
  void EndLine();

  // Calls |write| with each whole line, without its line end.
  template <typename Write>
  void ForEachLine(Write write) const {
    std::string_view rest = text_.view().substr(0, complete_);
    while (!rest.empty()) {
      const size_t end = rest.find('\n');
      write(rest.substr(0, end));
      rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
  }

 private:
  char* buffer_;
  size_t size_;
  FixedWriter text_;
  size_t complete_ = 0;  // bytes of whole lines
};

}  // namespace lite

#endif  // CRASH_REPORT_LOG_H_
