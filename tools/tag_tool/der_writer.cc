#include "tools/tag_tool/der_writer.h"

namespace lite {

std::string EncodeDer(uint8_t tag, std::string_view contents) {
  std::string out(1, static_cast<char>(tag));
  const size_t length = contents.size();
  if (length < 0x80) {
    out += static_cast<char>(length);
  } else {
    std::string bytes;
    for (size_t rest = length; rest != 0; rest >>= 8) {
      bytes.insert(bytes.begin(), static_cast<char>(rest & 0xFF));
    }
    out += static_cast<char>(0x80 | bytes.size());
    out += bytes;
  }
  out += contents;
  return out;
}

}  // namespace lite
