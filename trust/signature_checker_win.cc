#include "trust/signature_checker_win.h"

#include <string>

#include "logging/system_error_win.h"

namespace lite {
namespace {

constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

const BYTE* Bytes(std::string_view data) { return reinterpret_cast<const BYTE*>(data.data()); }

}  // namespace

// CryptoAPI failures name their error twice: in decimal right after the
// message, then in the system-error form.
bool SignatureChecker::Initialize() {
  Cleanup();
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
    const DWORD error = GetLastError();
    PLOG_CODE(ERROR, error) << "CryptAcquireContext failed " << error;
    return false;
  }
  provider_.reset(provider);
  HCRYPTHASH hash = 0;
  if (!CryptCreateHash(provider_.get(), CALG_SHA1, 0, 0, &hash)) {
    const DWORD error = GetLastError();
    PLOG_CODE(ERROR, error) << "CryptCreateHash failed " << error;
    return false;
  }
  hash_.reset(hash);
  return true;
}

bool SignatureChecker::HashData(std::string_view data) {
  if (!CryptHashData(hash_.get(), Bytes(data), static_cast<DWORD>(data.size()), 0)) {
    const DWORD error = GetLastError();
    PLOG_CODE(ERROR, error) << "CryptHashData failed " << error;
    return false;
  }
  return true;
}

bool SignatureChecker::ImportPublicKey(std::string_view spki_der) {
  CERT_PUBLIC_KEY_INFO* info = nullptr;
  DWORD size = 0;
  if (!CryptDecodeObjectEx(kEncoding, X509_PUBLIC_KEY_INFO, Bytes(spki_der),
                           static_cast<DWORD>(spki_der.size()), CRYPT_DECODE_ALLOC_FLAG, nullptr,
                           &info, &size)) {
    const DWORD error = GetLastError();
    PLOG_CODE(ERROR, error) << "CryptDecodeObjectEx failed " << error;
    return false;
  }
  ScopedLocalMemory info_owner(info);
  HCRYPTKEY key = 0;
  if (!CryptImportPublicKeyInfo(provider_.get(), kEncoding, info, &key)) {
    const DWORD error = GetLastError();
    PLOG_CODE(ERROR, error) << "CryptImportPublicKeyInfo failed " << error;
    return false;
  }
  key_.reset(key);
  return true;
}

bool SignatureChecker::VerifySignature(std::string_view signature) {
  // CryptoAPI takes the signature least significant byte first.
  const std::string reversed(signature.rbegin(), signature.rend());
  if (!CryptVerifySignatureW(hash_.get(), Bytes(reversed), static_cast<DWORD>(reversed.size()),
                             key_.get(), nullptr, 0)) {
    const DWORD error = GetLastError();
    PLOG_CODE(ERROR, error) << "CryptVerifySignature failed " << error;
    return false;
  }
  return true;
}

void SignatureChecker::Cleanup() {
  key_.reset();
  hash_.reset();
  provider_.reset();
}

bool SignatureChecker::Check(std::string_view signature, std::string_view key,
                             std::string_view data) {
  return Initialize() && HashData(data) && ImportPublicKey(key) && VerifySignature(signature);
}

}  // namespace lite
