#include "base/crypto_random.h"

#include <windows.h>
#include <ntsecapi.h>

namespace lite {

bool CryptoRandomBytes(void* data, size_t size) {
  return RtlGenRandom(data, static_cast<ULONG>(size)) != FALSE;
}

}  // namespace lite
