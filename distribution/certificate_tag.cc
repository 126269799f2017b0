#include "distribution/certificate_tag.h"

#include "distribution/der_reader.h"
#include "distribution/pe_certificate_table.h"

namespace lite {
namespace {

constexpr char kDummyPrefix[] =
    // version [0] INTEGER 2, serialNumber 1
    "\xA0\x03\x02\x01\x02"
    "\x02\x01\x01"
    // sha1WithRSAEncryption, NULL parameters
    "\x30\x0D\x06\x09\x2A\x86\x48\x86\xF7\x0D\x01\x01\x05\x05\x00"
    // issuer CN=Unknown issuer
    "\x30\x19\x31\x17\x30\x15\x06\x03\x55\x04\x03\x13\x0E"
    "Unknown issuer"
    // validity
    "\x30\x1E\x17\x0D"
    "130101100000Z"
    "\x17\x0D"
    "130401100000Z"
    // subject CN=Dummy certificate
    "\x30\x1C\x31\x1A\x30\x18\x06\x03\x55\x04\x03\x13\x11"
    "Dummy certificate";
static_assert(sizeof(kDummyPrefix) - 1 == kDummyCertificatePrefixSize);

// The [0] certificates of the SignedData in a ContentInfo.
bool EnterCertificateSet(std::string_view content_info, DerReader* certificates) {
  DerReader outer(content_info);
  DerReader info, explicit_content, signed_data;
  return outer.Enter(kDerSequence, &info) && info.Skip() &&  // contentType
         info.Enter(kDerContext0, &explicit_content) &&
         explicit_content.Enter(kDerSequence, &signed_data) &&
         signed_data.Skip() &&  // version
         signed_data.Skip() &&  // digestAlgorithms
         signed_data.Skip() &&  // encapContentInfo
         signed_data.Enter(kDerContext0, certificates);
}

bool EnterDummyTbsCertificate(std::string_view certificate, DerReader* tbs) {
  DerReader outer(certificate);
  DerReader cert;
  return outer.Enter(kDerSequence, &cert) && cert.Enter(kDerSequence, tbs) &&
         tbs->rest().substr(0, kDummyCertificatePrefixSize) == DummyCertificatePrefix();
}

// The short form, or the long form with 1 to 4 length bytes.
bool HasKnownLengthForm(std::string_view element) {
  if (element.size() < 2) return false;
  const uint8_t first = static_cast<uint8_t>(element[1]);
  return (first & 0x80) == 0 || ((first & 0x7F) >= 1 && (first & 0x7F) <= 4);
}

CertificateTagResult Failure(CertificateTagStatus status) {
  CertificateTagResult result;
  result.status = status;
  return result;
}

}  // namespace

std::string_view DummyCertificatePrefix() {
  return std::string_view(kDummyPrefix, kDummyCertificatePrefixSize);
}

bool IsDummyCertificate(std::string_view certificate) {
  DerReader tbs;
  return EnterDummyTbsCertificate(certificate, &tbs);
}

bool ReadTagOfCertificate(std::string_view certificate, std::string* tag) {
  DerReader tbs;
  if (!EnterDummyTbsCertificate(certificate, &tbs)) return false;
  // version, serialNumber, signature, issuer, validity, subject, subjectPublicKeyInfo
  for (int i = 0; i < 7; ++i) {
    if (!tbs.Skip()) return false;
  }
  DerReader explicit_extensions, extensions, extension, value;
  if (!tbs.Enter(kDerContext3, &explicit_extensions) ||
      !explicit_extensions.Enter(kDerSequence, &extensions)) {
    return false;
  }
  for (int i = 0; i < kTagExtensionIndex; ++i) {
    if (!extensions.Skip()) return false;
  }
  if (!extensions.Enter(kDerSequence, &extension) || !extension.Skip() ||  // extnID
      !extension.Enter(kDerOctetString, &value)) {
    return false;
  }
  const std::string_view bytes = value.rest();
  if (bytes.size() < 2) return false;
  const size_t length = ReadBigEndian16(bytes, 0);
  if (length + 2 > bytes.size()) return false;
  tag->assign(bytes.substr(2, length));
  return true;
}

CertificateTagResult ReadCertificateTag(std::string_view file) {
  const std::optional<CertificateTable> table = FindCertificateTable(file);
  if (!table) return Failure(CertificateTagStatus::kNoCertificateTable);
  const std::string_view signature =
      file.substr(table->offset, table->size).substr(kWinCertificateHeaderSize);
  // A length form this reader does not know means the table is not what it
  // looks for; a length that does not fit means a damaged signature.
  if (!HasKnownLengthForm(signature)) return Failure(CertificateTagStatus::kNoCertificateTable);
  DerElement outer;
  DerReader certificates;
  if (!ParseDerHeader(signature, &outer) ||
      !EnterCertificateSet(signature.substr(0, outer.total_size()), &certificates)) {
    return Failure(CertificateTagStatus::kInvalidCertificateTable);
  }
  CertificateTagResult result;
  while (!certificates.empty()) {
    const std::string_view rest = certificates.rest();
    DerElement certificate;
    if (!certificates.Read(&certificate)) {
      return Failure(CertificateTagStatus::kInvalidCertificateTable);
    }
    std::string tag;
    if (ReadTagOfCertificate(rest.substr(0, certificate.total_size()), &tag)) result.tag += tag;
  }
  return result;
}

}  // namespace lite
