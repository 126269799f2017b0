#include "crash/report_log.h"

namespace lite {

ReportLog& ReportLog::operator<<(std::string_view text) {
  text_.Append(text);
  return *this;
}

ReportLog& ReportLog::operator<<(int64_t number) {
  char digits[24];
  size_t at = sizeof(digits);
  uint64_t magnitude = number < 0 ? 0 - static_cast<uint64_t>(number) : number;
  do {
    digits[--at] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (number < 0) digits[--at] = '-';
  text_.Append(std::string_view(digits + at, sizeof(digits) - at));
  return *this;
}

void ReportLog::EndLine() {
  if (text_.Append("\n")) {
    complete_ = text_.size();
    return;
  }
  // Start over after the last whole line: the cut one is lost.
  text_ = FixedWriter(buffer_, size_);
  text_.Commit(complete_);
}

}  // namespace lite
