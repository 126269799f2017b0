// Random numbers from the system's cryptographic generator.
#ifndef BASE_CRYPTO_RANDOM_H_
#define BASE_CRYPTO_RANDOM_H_

#include <cstddef>
#include <cstdint>

namespace lite {

// Fills |data| with |size| random bytes; false when the system refused.
bool CryptoRandomBytes(void* data, size_t size);

// A uniformly drawn integer in [0, |bound|); 0 when |bound| is 0 or the
// system's generator fails.
uint32_t CryptoRandomBelow(uint32_t bound);

}  // namespace lite

#endif  // BASE_CRYPTO_RANDOM_H_
