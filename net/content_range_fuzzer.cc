// A server's Content-Range header: the parser must not crash, and what it
// accepts must be a byte range whose complete size lies past the offset.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "net/request_headers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  uint32_t offset;
  memcpy(&offset, data, sizeof(offset));
  const std::string header(reinterpret_cast<const char*>(data) + 4, size - 4);
  uint64_t full_size = 0;
  if (lite::ContentRangeStartsAt(header, offset, &full_size)) {
    if (header.compare(0, 6, "bytes ") != 0) __builtin_trap();
    if (full_size != 0 && full_size <= offset) __builtin_trap();
  }
  return 0;
}
