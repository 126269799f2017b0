// The signature line that heads a configuration package member: "//" and the
// base64 of an RSASSA-PKCS1-v1_5 signature with SHA-256, by a 1024-bit key,
// over the JSON text that follows the line.
#ifndef TOOLS_PACKAGE_BUILDER_PACKAGE_SIGNATURE_H_
#define TOOLS_PACKAGE_BUILDER_PACKAGE_SIGNATURE_H_

#include <string>
#include <string_view>

namespace lite {

inline constexpr int kPackageKeyBits = 1024;
inline constexpr size_t kPackageSignatureBytes = 128;
inline constexpr size_t kPackageSignatureBase64Chars = 172;

// The 172 base64 characters of the signature of |json_text| by the RSA
// private key in |private_key_pem|; false with |*error| set when the key is
// unreadable, not RSA, not 1024 bits, or signing fails.
bool SignPackageText(std::string_view private_key_pem, std::string_view json_text,
                     std::string* signature_base64, std::string* error);

// The member text: "//" + signature, LF, then |json_text| unchanged.
std::string ComposePackageMember(std::string_view signature_base64,
                                 std::string_view json_text);

}  // namespace lite

#endif  // TOOLS_PACKAGE_BUILDER_PACKAGE_SIGNATURE_H_
