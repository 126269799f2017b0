// SIGNATURE.DAT: the 16-bit little-endian number of the built-in key that
// signed a trust document, then the RSA PKCS #1 v1.5 signature with SHA-1
// over the document's exact bytes, most significant byte first.
#ifndef TOOLS_TRUST_TOOL_SIGNATURE_FILE_H_
#define TOOLS_TRUST_TOOL_SIGNATURE_FILE_H_

#include <string>
#include <string_view>

namespace lite {

// False with |*error| set when |key_number| is not that of a built-in key or
// |private_key_pem| holds no unencrypted RSA private key.
bool SignTrustDocument(std::string_view private_key_pem, int key_number, std::string_view document,
                       std::string* signature_file, std::string* error);

// Checks |signature_file| over |document| with the built-in key it names.
bool VerifyTrustDocument(std::string_view signature_file, std::string_view document,
                         std::string* error);

}  // namespace lite

#endif  // TOOLS_TRUST_TOOL_SIGNATURE_FILE_H_
