// Reads the installer tag kept in dummy certificates of an executable's
// Authenticode signature. A dummy certificate is known by the start of its
// TBSCertificate; its fourth extension's value holds a 16-bit big-endian
// length and that many bytes of tag text.
#ifndef DISTRIBUTION_CERTIFICATE_TAG_H_
#define DISTRIBUTION_CERTIFICATE_TAG_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace lite {

// The DER of version, serialNumber, signature, issuer, validity and subject
// that every dummy certificate's TBSCertificate contents begin with.
inline constexpr size_t kDummyCertificatePrefixSize = 112;
std::string_view DummyCertificatePrefix();

// How many extensions come before the one that carries the tag.
inline constexpr int kTagExtensionIndex = 3;

enum class CertificateTagStatus {
  kOk,                      // |tag| holds the text of every dummy certificate (maybe none)
  kNoCertificateTable,      // not a PE image with a readable certificate table
  kInvalidCertificateTable  // the signature's DER is malformed
};

struct CertificateTagResult {
  CertificateTagStatus status = CertificateTagStatus::kOk;
  std::string tag;
};

// Walks the signature in the certificate table of |file| and concatenates
// the tags of its dummy certificates in their order.
CertificateTagResult ReadCertificateTag(std::string_view file);

// Whether |certificate| (a whole DER Certificate element) begins its
// TBSCertificate with the dummy-certificate prefix.
bool IsDummyCertificate(std::string_view certificate);

// The tag of one certificate (a whole DER Certificate element), or nothing
// when it is not a dummy certificate or its walk fails.
bool ReadTagOfCertificate(std::string_view certificate, std::string* tag);

}  // namespace lite

#endif  // DISTRIBUTION_CERTIFICATE_TAG_H_
