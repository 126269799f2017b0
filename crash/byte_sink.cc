#include "crash/byte_sink.h"

#include <cstring>

namespace lite {

bool AppendU32(ByteSink* out, uint32_t value) {
  const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                         static_cast<char>((value >> 16) & 0xFF),
                         static_cast<char>((value >> 24) & 0xFF)};
  return out->Append(std::string_view(bytes, sizeof(bytes)));
}

bool FixedWriter::Append(std::string_view bytes) {
  if (overflowed_ || bytes.size() > capacity_ - size_) {
    overflowed_ = true;
    return false;
  }
  // An empty view may have a null pointer, which memcpy forbids.
  if (!bytes.empty()) std::memcpy(data_ + size_, bytes.data(), bytes.size());
  size_ += bytes.size();
  return true;
}

}  // namespace lite
