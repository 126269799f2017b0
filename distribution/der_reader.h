// A bounds-checked cursor over DER-encoded bytes. Every element read must fit
// inside the bytes the cursor was given, so a walk over untrusted input can
// never step outside its parent element.
#ifndef DISTRIBUTION_DER_READER_H_
#define DISTRIBUTION_DER_READER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lite {

inline constexpr uint8_t kDerSequence = 0x30;
inline constexpr uint8_t kDerOctetString = 0x04;
// Context-specific constructed tags [0] and [3].
inline constexpr uint8_t kDerContext0 = 0xA0;
inline constexpr uint8_t kDerContext3 = 0xA3;

struct DerElement {
  uint8_t tag = 0;
  size_t header_size = 0;     // tag and length bytes
  std::string_view contents;  // the value, inside the parent
  size_t total_size() const { return header_size + contents.size(); }
};

// Reads the tag and length at the start of |bytes|. The length is the short
// form or the long form with 1 to 4 length bytes; indefinite lengths,
// multi-byte tags and elements running past |bytes| are refused.
bool ParseDerHeader(std::string_view bytes, DerElement* element);

class DerReader {
 public:
  DerReader() = default;
  explicit DerReader(std::string_view bytes) : rest_(bytes) {}

  bool empty() const { return rest_.empty(); }
  std::string_view rest() const { return rest_; }

  // Consumes the next element.
  bool Read(DerElement* element);
  bool Skip();
  // Consumes the next element when its tag is |tag|, and gives a cursor over
  // its contents.
  bool Enter(uint8_t tag, DerReader* inner);

 private:
  std::string_view rest_;
};

}  // namespace lite

#endif  // DISTRIBUTION_DER_READER_H_
