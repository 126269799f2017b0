#include "tools/trust_tool/trust_document.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/sha.h>
#include <openssl/x509.h>

#include <memory>

#include "base/base64.h"
#include "base/json/json_reader.h"
#include "base/json/json_writer.h"
#include "tools/openssl_owners.h"

namespace lite {
namespace {

ScopedX509 ReadCertificate(std::string_view pem) {
  ScopedBio bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  ScopedX509 certificate(bio ? PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr) : nullptr);
  ERR_clear_error();
  return certificate;
}

// The content octets of the DER INTEGER, sign byte included: Windows keeps
// a serial number as exactly these bytes (in reverse order), so a serial
// whose top bit is set keeps its leading zero on both sides.
bool SerialBytes(const X509* certificate, std::string* bytes) {
  const ASN1_INTEGER* serial = X509_get0_serialNumber(certificate);
  unsigned char* der = nullptr;
  const int length = i2d_ASN1_INTEGER(serial, &der);
  if (length <= 2 || der == nullptr) {
    OPENSSL_free(der);
    return false;
  }
  // Tag, then a short or long length form.
  size_t header = 2;
  if (der[1] & 0x80) header += der[1] & 0x7F;
  const bool ok = header < static_cast<size_t>(length);
  if (ok) bytes->assign(reinterpret_cast<const char*>(der) + header, length - header);
  OPENSSL_free(der);
  return ok;
}

std::string Hex(const unsigned char* bytes, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 0xF]);
  }
  return text;
}

}  // namespace

bool MakeCertificateEntry(std::string_view signer_pem, std::string_view issuer_pem,
                          bool with_pub_key, Value* entry, std::string* error) {
  const ScopedX509 signer = ReadCertificate(signer_pem);
  const ScopedX509 issuer = ReadCertificate(issuer_pem);
  if (!signer || !issuer) {
    *error =
        std::string("the ") + (signer ? "issuer" : "signer") + " file holds no PEM certificate";
    return false;
  }
  std::string issuer_serial, signer_serial;
  if (!SerialBytes(issuer.get(), &issuer_serial) || !SerialBytes(signer.get(), &signer_serial)) {
    *error = "a certificate has no readable serial number";
    return false;
  }
  Value::Dict dict;
  dict["id"] = Value(Base64Encode(issuer_serial + signer_serial));
  if (with_pub_key) {
    const ASN1_BIT_STRING* key = X509_get0_pubkey_bitstr(signer.get());
    unsigned char digest[SHA256_DIGEST_LENGTH];
    if (!key || !SHA256(key->data, key->length, digest)) {
      *error = "the signer's public key cannot be hashed";
      return false;
    }
    dict["pub_key"] = Value(Hex(digest, sizeof digest));
  }
  *entry = Value(std::move(dict));
  return true;
}

bool ReadCertificateList(std::string_view document, Value::List* certificates, std::string* error) {
  std::string parse_error;
  const std::optional<Value> root = ReadJson(document, &parse_error);
  if (!root) {
    *error = "not JSON: " + parse_error;
    return false;
  }
  const Value* list = root->FindPath("trusted_info.certificates");
  if (!list || !list->is_list()) {
    *error = "no \"trusted_info\" object with a \"certificates\" list";
    return false;
  }
  *certificates = *list->GetIfList();
  return true;
}

std::string ComposeTrustDocument(Value::List certificates) {
  Value::Dict info;
  info["certificates"] = Value(std::move(certificates));
  Value::Dict root;
  root["trusted_info"] = Value(std::move(info));
  return WriteJson(Value(std::move(root)));
}

}  // namespace lite
