// The trust document of a module (TRUSTED.JSON): the signing certificates
// the installer accepts for it, by identity and public-key digest.
#ifndef TOOLS_TRUST_TOOL_TRUST_DOCUMENT_H_
#define TOOLS_TRUST_TOOL_TRUST_DOCUMENT_H_

#include <string>
#include <string_view>

#include "base/json/json_value.h"

namespace lite {

// One element of "certificates" for the certificate in |signer_pem| issued
// by the one in |issuer_pem|: "id" is the base64 of the issuer's serial
// number followed by the signer's, "pub_key" (unless |with_pub_key| is
// false) the hexadecimal SHA-256 of the signer's public-key bit string.
// False with |*error| set when either PEM holds no certificate.
bool MakeCertificateEntry(std::string_view signer_pem, std::string_view issuer_pem,
                          bool with_pub_key, Value* entry, std::string* error);

// The "certificates" list of an existing document, for adding to it; false
// with |*error| set when |document| is not a trust document.
bool ReadCertificateList(std::string_view document, Value::List* certificates, std::string* error);

// {"trusted_info":{"certificates":[...]}}, compact.
std::string ComposeTrustDocument(Value::List certificates);

}  // namespace lite

#endif  // TOOLS_TRUST_TOOL_TRUST_DOCUMENT_H_
