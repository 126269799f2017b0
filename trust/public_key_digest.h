#ifndef TRUST_PUBLIC_KEY_DIGEST_H_
#define TRUST_PUBLIC_KEY_DIGEST_H_

#include <string>
#include <string_view>

namespace lite {

// SHA-256 of |public_key| (the contents of a certificate's public-key bit
// string), 32 bytes; false when the digest cannot be made.
bool PublicKeySha256(std::string_view public_key, std::string* digest);

}  // namespace lite

#endif  // TRUST_PUBLIC_KEY_DIGEST_H_
