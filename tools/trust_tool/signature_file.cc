#include "tools/trust_tool/signature_file.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <memory>
#include <optional>

#include "trust/trusted_keys.h"
#include "tools/openssl_owners.h"

namespace lite {
namespace {

std::string OpenSslReason() {
  const unsigned long code = ERR_get_error();
  ERR_clear_error();
  if (code == 0) return "no reason given";
  char text[256];
  ERR_error_string_n(code, text, sizeof text);
  return text;
}

const unsigned char* Bytes(std::string_view text) {
  return reinterpret_cast<const unsigned char*>(text.data());
}

}  // namespace

bool SignTrustDocument(std::string_view private_key_pem, int key_number, std::string_view document,
                       std::string* signature_file, std::string* error) {
  if (key_number < 0 || key_number >= kTrustedKeyCount) {
    *error = "key number " + std::to_string(key_number) + " is not between 0 and " +
             std::to_string(kTrustedKeyCount - 1);
    return false;
  }
  ScopedBio pem(
      BIO_new_mem_buf(private_key_pem.data(), static_cast<int>(private_key_pem.size())));
  // An empty password refuses encrypted keys instead of prompting mid-build.
  ScopedKey key(pem ? PEM_read_bio_PrivateKey(pem.get(), nullptr, nullptr, const_cast<char*>(""))
                    : nullptr);
  if (!key) {
    *error = "the key is not an unencrypted PEM private key: " + OpenSslReason();
    return false;
  }
  if (EVP_PKEY_base_id(key.get()) != EVP_PKEY_RSA) {
    *error = "the key is not an RSA key";
    return false;
  }
  ScopedDigestContext context(EVP_MD_CTX_new());
  size_t length = 0;
  if (!context || EVP_DigestSignInit(context.get(), nullptr, EVP_sha1(), nullptr, key.get()) != 1 ||
      EVP_DigestSign(context.get(), nullptr, &length, Bytes(document), document.size()) != 1) {
    *error = "signing failed: " + OpenSslReason();
    return false;
  }
  std::string signature(length, '\0');
  if (EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &length,
                     Bytes(document), document.size()) != 1) {
    *error = "signing failed: " + OpenSslReason();
    return false;
  }
  signature.resize(length);
  signature_file->clear();
  signature_file->push_back(static_cast<char>(key_number & 0xFF));
  signature_file->push_back(static_cast<char>(key_number >> 8));
  *signature_file += signature;
  return true;
}

bool VerifyTrustDocument(std::string_view signature_file, std::string_view document,
                         std::string* error) {
  if (signature_file.size() <= 2) {
    *error = "the signature file has no signature after its key number";
    return false;
  }
  const int key_number = static_cast<unsigned char>(signature_file[0]) |
                         static_cast<unsigned char>(signature_file[1]) << 8;
  const std::optional<std::string> spki = DecodeTrustedKey(key_number);
  if (!spki) {
    *error =
        "the signature file names key " + std::to_string(key_number) + ", which is not built in";
    return false;
  }
  const unsigned char* der = Bytes(*spki);
  ScopedKey key(d2i_PUBKEY(nullptr, &der, static_cast<long>(spki->size())));
  ScopedDigestContext context(EVP_MD_CTX_new());
  const std::string_view signature = signature_file.substr(2);
  if (!key || !context ||
      EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha1(), nullptr, key.get()) != 1 ||
      EVP_DigestVerify(context.get(), Bytes(signature), signature.size(), Bytes(document),
                       document.size()) != 1) {
    *error = "the signature does not verify with built-in key " + std::to_string(key_number) +
             ": " + OpenSslReason();
    return false;
  }
  return true;
}

}  // namespace lite
