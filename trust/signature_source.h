// What the signature walk of VerifyModuleImpl asks of the system: verify
// one Authenticode signature of a file at a time and describe its signing
// certificate. Windows answers through WinVerifyTrust
// (authenticode_signature_source_win.h); tests give scripted answers.
#ifndef TRUST_SIGNATURE_SOURCE_H_
#define TRUST_SIGNATURE_SOURCE_H_

#include <cstdint>
#include <string>

namespace lite {

struct SignatureCheck {
  // The call raised a structured exception with |exception_code|.
  bool raised_exception = false;
  uint32_t exception_code = 0;
  // The verification's result: 0 when the signature is valid, else the
  // error (an HRESULT such as TRUST_E_NOSIGNATURE).
  int32_t result = 0;
};

// The signing certificate of the signature verified last.
struct CertParams {
  // Serial numbers as Windows stores them: least significant byte first.
  std::string issuer_serial;
  std::string signer_serial;
  // Object identifier of the signing certificate's signature algorithm,
  // dotted ("1.2.840.113549.1.1.11").
  std::string signature_algorithm;
  // Contents of the signing certificate's SubjectPublicKeyInfo bit string.
  std::string public_key;
  uint32_t public_key_unused_bits = 0;
};

class SignatureSource {
 public:
  virtual ~SignatureSource() = default;

  // Ends the previous verification and verifies signature |index| (0 is the
  // primary one). With |hash_only| only the file's hash is checked against
  // the signature, not the certificate chain.
  virtual SignatureCheck Verify(uint32_t index, bool hash_only) = 0;
  // Secondary signatures of the file, as the last verification reported.
  virtual uint32_t SecondarySignatureCount() const = 0;
  // The signing certificate of the last verification; false unless it has
  // exactly one signer whose chain holds the signing certificate and its
  // issuer.
  virtual bool ExtractCertParams(CertParams* params) = 0;
  // Whether a failed signature gets a hash-only second try.
  virtual bool IsExtendedCheckNeeded() const = 0;
  // Ends the last verification, if any.
  virtual void Close() = 0;
};

}  // namespace lite

#endif  // TRUST_SIGNATURE_SOURCE_H_
