// Trust documents from arbitrary bytes: GetTrustedFiles must neither crash
// nor keep an entry whose id is not what base64 decoding gives.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "trust/trusted_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lite::TrustedCertificateMap certificates;
  lite::GetTrustedFiles(std::string_view(reinterpret_cast<const char*>(data), size),
                        &certificates);
  for (const auto& [id, certificate] : certificates) {
    if (id != certificate.id) __builtin_trap();
    if (!certificate.public_key_sha256.empty() && certificate.public_key_sha256.size() != 32) {
      __builtin_trap();
    }
  }
  return 0;
}
