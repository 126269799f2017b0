// A signing certificate that a module's trust document accepts.
#ifndef TRUST_TRUSTED_CERTIFICATE_H_
#define TRUST_TRUSTED_CERTIFICATE_H_

#include <map>
#include <string>

namespace lite {

struct TrustedCertificate {
  // The issuer's serial number bytes followed by the signer's, big-endian.
  std::string id;
  // SHA-256 of the signer's public key (32 bytes); empty when the document
  // gives none, and then any key is accepted.
  std::string public_key_sha256;

  // |computed_sha256| is the digest of the key of the certificate at hand,
  // empty when it could not be computed. A listed digest is only satisfied
  // by an equal one: a key that cannot be hashed does not pass it.
  bool MatchesPublicKey(const std::string& computed_sha256) const {
    return public_key_sha256.empty() || public_key_sha256 == computed_sha256;
  }
  // Whether the document lists exactly this key: the test for a signer
  // whose certificate chain could not be checked.
  bool HasPublicKey(const std::string& computed_sha256) const {
    return !public_key_sha256.empty() && public_key_sha256 == computed_sha256;
  }
};

// Keyed by id. std::string orders its bytes as unsigned char, so the map is
// in unsigned lexicographic byte order.
using TrustedCertificateMap = std::map<std::string, TrustedCertificate>;

}  // namespace lite

#endif  // TRUST_TRUSTED_CERTIFICATE_H_
