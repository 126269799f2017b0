#include "net/request_headers.h"

#include "base/utf.h"

namespace lite {
namespace {

// Digits at |*pos| as a number; false when there are none or too many.
bool ParseNumber(const std::string& text, size_t* pos, uint64_t* value) {
  const size_t start = *pos;
  uint64_t result = 0;
  while (*pos < text.size() && text[*pos] >= '0' && text[*pos] <= '9') {
    if (*pos - start >= 18) return false;
    result = result * 10 + static_cast<uint64_t>(text[*pos] - '0');
    ++*pos;
  }
  *value = result;
  return *pos > start;
}

}  // namespace

std::u16string RangeHeaderLine(uint32_t offset) {
  return WidenBytes("Range: bytes=" + std::to_string(offset) + "-");
}

bool ContentRangeStartsAt(const std::string& content_range, uint32_t offset,
                          uint64_t* full_size) {
  const std::string unit = "bytes ";
  if (content_range.compare(0, unit.size(), unit) != 0) return false;
  size_t pos = unit.size();
  uint64_t first = 0, last = 0;
  if (!ParseNumber(content_range, &pos, &first) || first != offset) return false;
  if (pos >= content_range.size() || content_range[pos++] != '-') return false;
  if (!ParseNumber(content_range, &pos, &last) || last < first) return false;
  if (pos >= content_range.size() || content_range[pos++] != '/') return false;
  uint64_t size = 0;
  if (content_range.compare(pos, std::string::npos, "*") == 0) return true;
  if (!ParseNumber(content_range, &pos, &size) || pos != content_range.size() ||
      size <= last) {
    return false;
  }
  if (full_size) *full_size = size;
  return true;
}

}  // namespace lite
