#include "base/crypto_random.h"

namespace lite {

uint32_t CryptoRandomBelow(uint32_t bound) {
  if (bound == 0) return 0;
  // Values at or above the largest multiple of |bound| would favour the
  // low results; they are drawn again.
  const uint32_t limit = UINT32_MAX - UINT32_MAX % bound;
  uint32_t value;
  do {
    if (!CryptoRandomBytes(&value, sizeof(value))) return 0;
  } while (value >= limit);
  return value % bound;
}

}  // namespace lite
