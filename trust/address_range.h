// Address arithmetic for byte ranges whose size comes from untrusted data.
#ifndef TRUST_ADDRESS_RANGE_H_
#define TRUST_ADDRESS_RANGE_H_

#include <cstdint>

namespace lite {

// Whether the |size| bytes from |start| end at or before |limit|. Nothing
// is added, so a size near the width of the address space (a 32-bit one
// above all) cannot wrap around to a small end.
constexpr bool RangeEndsWithin(uintptr_t start, uintptr_t size, uintptr_t limit) {
  return start <= limit && size <= limit - start;
}

}  // namespace lite

#endif  // TRUST_ADDRESS_RANGE_H_
