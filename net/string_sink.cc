#include "net/string_sink.h"

#include <utility>

namespace lite {

bool StringSink::Write(const char* data, uint32_t count) {
  if (count > kMaxInMemoryDownloadBytes - data_.size()) {
    full_ = true;
    return false;
  }
  data_.append(data, count);
  bytes_written_ += count;
  return true;
}

bool StringSink::Reset() {
  data_.clear();
  full_ = false;
  bytes_written_ = 0;
  return true;
}

std::string StringSink::TakeString() {
  std::string taken = std::move(data_);
  data_.clear();
  bytes_written_ = 0;
  full_ = false;
  return taken;
}

}  // namespace lite
