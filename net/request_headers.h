#ifndef NET_REQUEST_HEADERS_H_
#define NET_REQUEST_HEADERS_H_

#include <cstdint>
#include <string>

namespace lite {


// "Range: bytes=OFFSET-", the line a continued transfer adds.
std::u16string RangeHeaderLine(uint32_t offset);

// Whether a Content-Range value ("bytes 100-199/200") describes a body
// that starts at |offset|; the complete size goes to |*full_size| when the
// value gives it ("*" gives nothing).
bool ContentRangeStartsAt(const std::string& content_range, uint32_t offset,
                          uint64_t* full_size);

}  // namespace lite

#endif  // NET_REQUEST_HEADERS_H_
