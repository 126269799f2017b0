// The signing certificates a module is accepted with: those of its trust
// document.
#ifndef TRUST_TRUST_VERIFIER_H_
#define TRUST_TRUST_VERIFIER_H_

#include <string>
#include <string_view>

#include "trust/trusted_certificate.h"

namespace lite {

class TrustVerifier {
 public:
  TrustVerifier() = default;
  // From a trust document (GetTrustedFiles); empty when it does not read.
  explicit TrustVerifier(std::string_view trust_json);

  bool empty() const { return certificates_.empty(); }
  // The entry for |id|, or null.
  const TrustedCertificate* Find(const std::string& id) const;
  const TrustedCertificateMap& certificates() const { return certificates_; }

 private:
  TrustedCertificateMap certificates_;
};

}  // namespace lite

#endif  // TRUST_TRUST_VERIFIER_H_
