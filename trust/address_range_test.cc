#include "trust/address_range.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

TEST(AddressRangeTest, SizeThatWrapsAroundTheAddressSpaceNeverFits) {
  constexpr uintptr_t kTop = UINTPTR_MAX;
  struct Case {
    uintptr_t start, size, limit;
    bool fits;
  };
  const Case cases[] = {
      {0x1000, 0x100, 0x1100, true},
      {0x1000, 0x101, 0x1100, false},
      {0x1000, 0, 0x1000, true},
      {0x2000, 0, 0x1000, false},  // starts past the limit
      // A resource near the top of the address space claiming almost all
      // of it: the sum wraps to a small number below the limit.
      {kTop - 0xFFF, kTop - 0xF, kTop, false},
      {kTop - 0xFFF, 0xFFF, kTop, true},
      {kTop - 0xFFF, 0x1000, kTop, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RangeEndsWithin(c.start, c.size, c.limit), c.fits)
        << std::hex << c.start << "+" << c.size << " within " << c.limit;
  }
}

}  // namespace
}  // namespace lite
