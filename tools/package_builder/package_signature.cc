#include "tools/package_builder/package_signature.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <memory>
#include <string>

#include "base/base64.h"
#include "tools/openssl_owners.h"

namespace lite {
namespace {

// The reason of the most recent OpenSSL failure, for the error text.
std::string OpenSslReason() {
  const unsigned long code = ERR_get_error();
  if (code == 0) return "no reason given";
  char text[256];
  ERR_error_string_n(code, text, sizeof text);
  ERR_clear_error();
  return text;
}

}  // namespace

bool SignPackageText(std::string_view private_key_pem, std::string_view json_text,
                     std::string* signature_base64, std::string* error) {
  ScopedBio pem(
      BIO_new_mem_buf(private_key_pem.data(), static_cast<int>(private_key_pem.size())));
  // A null password callback with an empty password refuses encrypted keys
  // instead of prompting on the terminal in the middle of a build.
  ScopedKey key(
      pem ? PEM_read_bio_PrivateKey(pem.get(), nullptr, nullptr, const_cast<char*>(""))
          : nullptr);
  if (!key) {
    *error = "the key is not an unencrypted PEM private key: " + OpenSslReason();
    return false;
  }
  if (EVP_PKEY_base_id(key.get()) != EVP_PKEY_RSA) {
    *error = "the key is not an RSA key";
    return false;
  }
  if (EVP_PKEY_bits(key.get()) != kPackageKeyBits) {
    *error = "the key has " + std::to_string(EVP_PKEY_bits(key.get())) +
             " bits; package signatures need an RSA key of 1024 bits";
    return false;
  }

  ScopedDigestContext context(EVP_MD_CTX_new());
  unsigned char signature[kPackageSignatureBytes];
  size_t length = sizeof signature;
  // RSA keys sign with PKCS #1 v1.5 padding unless told otherwise.
  if (!context ||
      EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1 ||
      EVP_DigestSign(context.get(), signature, &length,
                     reinterpret_cast<const unsigned char*>(json_text.data()),
                     json_text.size()) != 1) {
    *error = "signing failed: " + OpenSslReason();
    return false;
  }
  *signature_base64 =
      Base64Encode(std::string_view(reinterpret_cast<const char*>(signature), length));
  return true;
}

std::string ComposePackageMember(std::string_view signature_base64,
                                 std::string_view json_text) {
  std::string member = "//";
  member += signature_base64;
  member += '\n';
  member += json_text;
  return member;
}

}  // namespace lite
