#include "distribution/der_reader.h"

namespace lite {

bool ParseDerHeader(std::string_view bytes, DerElement* element) {
  if (bytes.size() < 2) return false;
  const uint8_t tag = static_cast<uint8_t>(bytes[0]);
  if ((tag & 0x1F) == 0x1F) return false;
  const uint8_t first = static_cast<uint8_t>(bytes[1]);
  size_t header = 2;
  size_t length = first;
  if (first & 0x80) {
    const size_t count = first & 0x7F;
    if (count < 1 || count > 4 || bytes.size() < 2 + count) return false;
    length = 0;
    for (size_t i = 0; i < count; ++i) {
      length = (length << 8) | static_cast<uint8_t>(bytes[2 + i]);
    }
    header += count;
  }
  if (length > bytes.size() - header) return false;
  element->tag = tag;
  element->header_size = header;
  element->contents = bytes.substr(header, length);
  return true;
}

bool DerReader::Read(DerElement* element) {
  if (!ParseDerHeader(rest_, element)) return false;
  rest_.remove_prefix(element->total_size());
  return true;
}

bool DerReader::Skip() {
  DerElement element;
  return Read(&element);
}

bool DerReader::Enter(uint8_t tag, DerReader* inner) {
  DerElement element;
  if (!ParseDerHeader(rest_, &element) || element.tag != tag) return false;
  rest_.remove_prefix(element.total_size());
  *inner = DerReader(element.contents);
  return true;
}

}  // namespace lite
