// The signature walk that accepts or rejects a module: every Authenticode
// signature of the file is checked, and its signing certificate is looked
// up in the module's trust document.
#ifndef TRUST_VERIFY_MODULE_IMPL_H_
#define TRUST_VERIFY_MODULE_IMPL_H_

#include "base/file_path.h"
#include "trust/signature_source.h"
#include "trust/trust_verifier.h"

namespace lite {

// The identifier of SHA-256 with RSA encryption: a certificate signed this
// way makes a SHA-256 signature, any other an older one.
inline constexpr char kSha256WithRsaOid[] = "1.2.840.113549.1.1.11";

// Nested signatures beyond the primary one that the walk looks at.
inline constexpr uint32_t kMaxNestedSignatures = 8;

// True when a valid SHA-256 signature has a listed certificate, or when,
// without a failed SHA-256 signature after it, a valid older one has. An
// empty |verifier| rejects the file without asking |source|. |path| only
// names the file in log lines.
bool VerifyModuleImpl(const FilePath& path, const TrustVerifier& verifier, SignatureSource* source);

}  // namespace lite

#endif  // TRUST_VERIFY_MODULE_IMPL_H_
