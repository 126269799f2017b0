#include "trust/verify_module_impl.h"

#include <algorithm>
#include <string>

#include "base/debug_log.h"
#include "base/utf.h"
#include "logging/log_message.h"
#include "trust/public_key_digest.h"

namespace lite {
namespace {

// The walk's helpers log under the name of the operation they belong to.
constexpr char kVerifyModuleImpl[] = "VerifyModuleImpl";
constexpr char kExtractCertParams[] = "ExtractCertParams";

std::string Reversed(std::string bytes) {
  std::reverse(bytes.begin(), bytes.end());
  return bytes;
}

// What the hash-only second try exists for: a system that does not know
// an algorithm of the chain. An untrusted root, a broken chain, a revoked
// or forged certificate and revocation that could not be checked are
// refused as they are.
bool IsFailureTheRetryForgives(int32_t result) {
  constexpr int32_t kBadAlgorithm = static_cast<int32_t>(0x80090008);      // NTE_BAD_ALGID
  constexpr int32_t kUnknownAlgorithm = static_cast<int32_t>(0x80091002);  // CRYPT_E_UNKNOWN_ALGO
  return result == kBadAlgorithm || result == kUnknownAlgorithm;
}

enum class SignatureStatus { kInvalid, kValid, kValidByHashOnly };

void LogVerifyException(const FilePath& path, const SignatureCheck& check) {
  LOG_FROM(ERROR, kVerifyModuleImpl) << "An attempt to verify " << path << " generated an exception "
                                     << check.exception_code << ", is_prevents_net_usage = " << 0;
}

// Verifies signature |index|, with the hash-only second try where the
// system wants one. The second try is for this signature only.
SignatureStatus VerifySignature(const FilePath& path, uint32_t index, SignatureSource* source) {
  SignatureCheck check = source->Verify(index, false);
  if (check.raised_exception) {
    LogVerifyException(path, check);
    return SignatureStatus::kInvalid;
  }
  if (check.result == 0) return SignatureStatus::kValid;
  if (!source->IsExtendedCheckNeeded() || !IsFailureTheRetryForgives(check.result)) {
    return SignatureStatus::kInvalid;
  }
  LOG_FROM(WARNING, kVerifyModuleImpl)
      << "Start additional sha256 verification. " << path << " Error code: " << check.result;
  check = source->Verify(index, true);
  if (check.raised_exception) {
    LogVerifyException(path, check);
    return SignatureStatus::kInvalid;
  }
  LOG_FROM(INFO, kVerifyModuleImpl)
      << "Extended verification " << (check.result == 0 ? "success. " : "failed. ") << path
      << " Error code: " << check.result;
  return check.result == 0 ? SignatureStatus::kValidByHashOnly : SignatureStatus::kInvalid;
}

// SHA-256 of the signing certificate's public key; empty when it cannot be
// made.
std::string PublicKeyDigest(const CertParams& params) {
  if (params.public_key_unused_bits != 0) {
    LOG_FROM(ERROR, kExtractCertParams)
        << "Unsupported case: cUnusedBit=" << params.public_key_unused_bits;
    return std::string();
  }
  std::string digest;
  if (!PublicKeySha256(params.public_key, &digest)) {
    LOG_FROM(ERROR, kVerifyModuleImpl) << "Failed to get public key sha256";
    return std::string();
  }
  return digest;
}

// Ends the system's verification state on every way out of the walk.
class CloseAtExit {
 public:
  explicit CloseAtExit(SignatureSource* source) : source_(source) {}
  CloseAtExit(const CloseAtExit&) = delete;
  CloseAtExit& operator=(const CloseAtExit&) = delete;
  ~CloseAtExit() { source_->Close(); }

 private:
  SignatureSource* source_;
};

}  // namespace

bool VerifyModuleImpl(const FilePath& path, const TrustVerifier& verifier,
                      SignatureSource* source) {
  if (verifier.empty()) return false;
  CloseAtExit close_at_exit(source);
  bool accepted_by_fallback = false;
  bool sha256_failed = false;
  // The count is what the latest verification reported; the file itself
  // says how many there are, so the walk stops at a fixed number.
  for (uint32_t index = 0; index <= source->SecondarySignatureCount(); ++index) {
    if (index > kMaxNestedSignatures) {
      LOG_FROM(WARNING, kVerifyModuleImpl)
          << path << " has " << source->SecondarySignatureCount()
          << " nested signatures; only the first " << kMaxNestedSignatures << " are checked";
      break;
    }
    const SignatureStatus status = VerifySignature(path, index, source);
    if (status == SignatureStatus::kInvalid) continue;
    CertParams params;
    if (!source->ExtractCertParams(&params)) {
      DLOG(ERROR) << "ExtractCertParams failed. " << UTF16ToUTF8(path.value());
      continue;
    }
    const std::string id = Reversed(params.issuer_serial) + Reversed(params.signer_serial);
    const bool sha256 = params.signature_algorithm == kSha256WithRsaOid;
    const std::string digest = PublicKeyDigest(params);
    // After a SHA-256 signature has failed, an older one cannot make up for it.
    if (sha256_failed && !sha256) continue;

    const TrustedCertificate* listed = verifier.Find(id);
    bool matched = false;
    if (!listed) {
      LOG_FROM(ERROR, kVerifyModuleImpl) << "Can not find sertificate in trusted list. " << path;
    } else if (status == SignatureStatus::kValidByHashOnly
                   ? !listed->HasPublicKey(digest)
                   : !listed->MatchesPublicKey(digest)) {
      // Without its chain, only the listed key vouches for the signer.
      LOG_FROM(ERROR, kVerifyModuleImpl) << "Public key is not match. " << path;
    } else {
      matched = true;
    }

    if (matched && sha256) {
      LOG_FROM(INFO, kVerifyModuleImpl) << "File successfully verified with sha256. " << path;
      return true;
    }
    if (matched) {
      accepted_by_fallback = true;
    } else if (sha256) {
      LOG_FROM(ERROR, kVerifyModuleImpl) << "SHA256 verification failed. " << path;
      accepted_by_fallback = false;
      sha256_failed = true;
    }
  }
  if (accepted_by_fallback) {
    LOG_FROM(INFO, kVerifyModuleImpl) << "File successfully verified. " << path;
    return true;
  }
  LOG_FROM(ERROR, kVerifyModuleImpl) << "KNOWN_ERROR_untrusted_certificate";
  LOG_FROM(ERROR, kVerifyModuleImpl) << "Can not find any trusted certificates. " << path;
  return false;
}

}  // namespace lite
