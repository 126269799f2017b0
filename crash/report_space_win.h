// What a crash report needs, made ready when the handler is made and kept
// in the handler's reserved memory: the report reads it without touching
// the heap.
#ifndef CRASH_REPORT_SPACE_WIN_H_
#define CRASH_REPORT_SPACE_WIN_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "crash/crash_handler_win.h"
#include "crash/crash_key_table.h"
#include "crash/report_log.h"

namespace lite {

// Besides the space below: the compressed body, zlib's state (about 270 KiB
// at memory level 8), a buffer for reading the dump, the URL and headers.
inline constexpr size_t kReportScratchSize = kMaxUploadBodySize + (1u << 20);

// A zero-terminated text of fewer than N units, stored in place.
template <typename Char, size_t N>
class FixedText {
 public:
  // False, and the text left empty, when |text| does not fit.
  bool Set(std::basic_string_view<Char> text) {
    length_ = text.size() < N ? text.size() : 0;
    for (size_t i = 0; i < length_; ++i) data_[i] = text[i];
    data_[length_] = 0;
    return text.size() < N;
  }
  std::basic_string_view<Char> view() const { return {data_, length_}; }
  std::basic_string<Char> text() const { return std::basic_string<Char>(view()); }
  const Char* c_str() const { return data_; }
  const wchar_t* wide() const { return reinterpret_cast<const wchar_t*>(data_); }

 private:
  Char data_[N] = {};
  size_t length_ = 0;
};

struct CrashHandler::ReportSpace {
  CrashKeyTable keys;
  // The dump goes to dump_directory\report_name.dmp (another name when that
  // one is taken); nowhere while there is no directory.
  FixedText<char16_t, 1024> dump_directory;
  bool has_dump_directory = false;
  FixedText<char16_t, 40> report_name;
  FixedText<char, 64> boundary;
  // The collector's "/submit" as the request is really sent.
  FixedText<char, 1024> submit_url;
  FixedText<char16_t, 256> user_agent;
  char diagnostics[8192];
  ReportLog log{diagnostics, sizeof(diagnostics)};
};

}  // namespace lite

#endif  // CRASH_REPORT_SPACE_WIN_H_
