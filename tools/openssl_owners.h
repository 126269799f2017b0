// Owners for the OpenSSL objects the release tools use, so that every
// early return frees what was allocated.
#ifndef TOOLS_OPENSSL_OWNERS_H_
#define TOOLS_OPENSSL_OWNERS_H_

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>

namespace lite {

struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct DigestContextFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct X509Free {
  void operator()(X509* certificate) const { X509_free(certificate); }
};

using ScopedBio = std::unique_ptr<BIO, BioFree>;
using ScopedKey = std::unique_ptr<EVP_PKEY, KeyFree>;
using ScopedDigestContext = std::unique_ptr<EVP_MD_CTX, DigestContextFree>;
using ScopedX509 = std::unique_ptr<X509, X509Free>;

}  // namespace lite

#endif  // TOOLS_OPENSSL_OWNERS_H_
