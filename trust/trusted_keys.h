// The RSA public keys built into the installer that sign the trust documents
// (TRUSTED.JSON) carried by downloaded modules.
#ifndef TRUST_TRUSTED_KEYS_H_
#define TRUST_TRUSTED_KEYS_H_

#include <cstdint>
#include <optional>
#include <string>

namespace lite {

inline constexpr int kTrustedKeyCount = 10;
// Base64 text of a DER SubjectPublicKeyInfo of an RSA key of 1024 bits.
inline constexpr size_t kTrustedKeyBase64Length = 216;

struct TrustedKey {
  int number;
  const char* spki_base64;
};

// The table, numbered 0 to kTrustedKeyCount - 1 in order.
extern const TrustedKey kTrustedKeys[kTrustedKeyCount];

// The DER SubjectPublicKeyInfo of key |number|; nullopt for a number outside
// the table or a key text that is not base64.
std::optional<std::string> DecodeTrustedKey(int64_t number);

}  // namespace lite

#endif  // TRUST_TRUSTED_KEYS_H_
