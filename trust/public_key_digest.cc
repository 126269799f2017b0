#include "trust/public_key_digest.h"

// The one-shot digest: unlike the EVP interface it does not pull OpenSSL's
// provider machinery into the installer.
#include <openssl/sha.h>

namespace lite {

bool PublicKeySha256(std::string_view public_key, std::string* digest) {
  unsigned char bytes[SHA256_DIGEST_LENGTH];
  if (!SHA256(reinterpret_cast<const unsigned char*>(public_key.data()), public_key.size(),
              bytes)) {
    return false;
  }
  digest->assign(reinterpret_cast<const char*>(bytes), sizeof bytes);
  return true;
}

}  // namespace lite
