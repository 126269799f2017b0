// Text streamed into a log call: narrow strings as they are, UTF-16 strings
// and paths as UTF-8, integers in decimal; control characters and line
// separators in any of them escaped (log_escape.h), so that a value cannot
// end its record's line or forge another.
#ifndef LOGGING_LOG_STREAM_H_
#define LOGGING_LOG_STREAM_H_

#include <string>
#include <string_view>
#include <type_traits>

#include "base/file_path.h"
#include "base/utf.h"
#include "logging/log_escape.h"

namespace lite {

class LogStream {
 public:
  LogStream& operator<<(std::string_view text) {
    AppendEscapedLogText(text, &text_);
    return *this;
  }
  LogStream& operator<<(const char* text) { return *this << std::string_view(text ? text : ""); }
  LogStream& operator<<(const std::string& text) { return *this << std::string_view(text); }
  LogStream& operator<<(char c) { return *this << std::string_view(&c, 1); }
  LogStream& operator<<(std::u16string_view text) { return *this << UTF16ToUTF8(text); }
  LogStream& operator<<(const std::u16string& text) { return *this << std::u16string_view(text); }
  LogStream& operator<<(const char16_t* text) {
    return *this << std::u16string_view(text ? text : u"");
  }
  LogStream& operator<<(const FilePath& path) { return *this << path.value(); }
  LogStream& operator<<(bool value) { return *this << (value ? "1" : "0"); }

  template <typename T,
            typename = std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool> &&
                                        !std::is_same_v<T, char>>>
  LogStream& operator<<(T value) {
    return *this << std::to_string(value);
  }

  const std::string& text() const { return text_; }
  std::string& mutable_text() { return text_; }

 private:
  std::string text_;
};

}  // namespace lite

#endif  // LOGGING_LOG_STREAM_H_
