// Checks an RSA PKCS #1 v1.5 SHA-1 signature with CryptoAPI: the signature
// of a module's trust document by one of the built-in keys.
#ifndef TRUST_SIGNATURE_CHECKER_WIN_H_
#define TRUST_SIGNATURE_CHECKER_WIN_H_

#include <windows.h>
// After windows.h, which leaves it out under WIN32_LEAN_AND_MEAN.
#include <wincrypt.h>

#include <string_view>

#include "base/scoped_handle_win.h"

namespace lite {

struct CryptProviderTraits {
  static HCRYPTPROV Invalid() { return 0; }
  static bool IsValid(HCRYPTPROV provider) { return provider != 0; }
  static void Close(HCRYPTPROV provider) { CryptReleaseContext(provider, 0); }
};
struct CryptHashTraits {
  static HCRYPTHASH Invalid() { return 0; }
  static bool IsValid(HCRYPTHASH hash) { return hash != 0; }
  static void Close(HCRYPTHASH hash) { CryptDestroyHash(hash); }
};
struct CryptKeyTraits {
  static HCRYPTKEY Invalid() { return 0; }
  static bool IsValid(HCRYPTKEY key) { return key != 0; }
  static void Close(HCRYPTKEY key) { CryptDestroyKey(key); }
};

class SignatureChecker {
 public:
  SignatureChecker() = default;
  SignatureChecker(const SignatureChecker&) = delete;
  SignatureChecker& operator=(const SignatureChecker&) = delete;
  ~SignatureChecker() { Cleanup(); }

  // A verification-only provider and an empty SHA-1 hash.
  bool Initialize();
  bool HashData(std::string_view data);
  // |spki_der|: a DER SubjectPublicKeyInfo.
  bool ImportPublicKey(std::string_view spki_der);
  // |signature| most significant byte first, as PKCS #1 writes it.
  bool VerifySignature(std::string_view signature);
  // Releases the key, the hash and the provider.
  void Cleanup();

  // Initialize, HashData(data), ImportPublicKey(key), VerifySignature
  // (signature), stopping at the first failure; each failure is logged.
  bool Check(std::string_view signature, std::string_view key, std::string_view data);

 private:
  ScopedGeneric<CryptProviderTraits> provider_;
  ScopedGeneric<CryptHashTraits> hash_;
  ScopedGeneric<CryptKeyTraits> key_;
};

}  // namespace lite

#endif  // TRUST_SIGNATURE_CHECKER_WIN_H_
