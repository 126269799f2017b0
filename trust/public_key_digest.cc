#include "trust/public_key_digest.h"

// The low-level digest calls: in OpenSSL 3 the one-shot SHA256() goes
// through EVP_Q_digest and pulls the provider machinery (2.7 MB of the
// 32-bit executable) into the link; these compile to the bare hash.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/sha.h>

namespace lite {

bool PublicKeySha256(std::string_view public_key, std::string* digest) {
  SHA256_CTX context;
  unsigned char bytes[SHA256_DIGEST_LENGTH];
  if (!SHA256_Init(&context) || !SHA256_Update(&context, public_key.data(), public_key.size()) ||
      !SHA256_Final(bytes, &context)) {
    return false;
  }
  digest->assign(reinterpret_cast<const char*>(bytes), sizeof bytes);
  return true;
}

}  // namespace lite
