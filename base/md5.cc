#include "base/md5.h"

// The one-shot digest keeps the executable small: unlike the EVP interface
// it does not pull OpenSSL's provider machinery into the link.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/md5.h>

namespace lite {

std::string MD5HexDigest(std::string_view bytes) {
  unsigned char digest[MD5_DIGEST_LENGTH];
  MD5(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
  static const char kHex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char byte : digest) {
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 0xF]);
  }
  return out;
}

}  // namespace lite
