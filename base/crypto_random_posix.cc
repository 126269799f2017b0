#include "base/crypto_random.h"

#include <sys/random.h>

namespace lite {

bool CryptoRandomBytes(void* data, size_t size) {
  auto* bytes = static_cast<unsigned char*>(data);
  while (size > 0) {
    const ssize_t got = getrandom(bytes, size, 0);
    if (got <= 0) return false;
    bytes += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

}  // namespace lite
