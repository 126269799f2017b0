#include "trust/trust_verifier.h"

#include "trust/trusted_files.h"

namespace lite {

TrustVerifier::TrustVerifier(std::string_view trust_json) {
  GetTrustedFiles(trust_json, &certificates_);
}

const TrustedCertificate* TrustVerifier::Find(const std::string& id) const {
  const auto found = certificates_.find(id);
  return found == certificates_.end() ? nullptr : &found->second;
}

}  // namespace lite
