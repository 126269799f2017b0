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

}  // namespace

std::string_view DummyCertificatePrefix() {
  return std::string_view(kDummyPrefix, kDummyCertificatePrefixSize);
}

namespace {

bool EnterDummyTbsCertificate(std::string_view certificate, DerReader* tbs) {
  DerReader outer(certificate);
  DerReader cert;
  return outer.Enter(kDerSequence, &cert) && cert.Enter(kDerSequence, tbs) &&
         tbs->rest().substr(0, kDummyCertificatePrefixSize) == DummyCertificatePrefix();
}

}  // namespace

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
  CertificateTagResult result;
  const std::optional<CertificateTable> table = FindCertificateTable(file);
  if (!table) {
    result.status = CertificateTagStatus::kNoCertificateTable;
    return result;
  }
  const std::string_view signature =
      file.substr(table->offset, table->size).substr(kWinCertificateHeaderSize);
  // A length form this reader does not know means the table is not what it
  // looks for; a length that does not fit means a damaged signature.
  DerElement outer;
  if (signature.size() < 2 ||
      ((signature[1] & 0x80) && ((signature[1] & 0x7F) < 1 || (signature[1] & 0x7F) > 4))) {
    result.status = CertificateTagStatus::kNoCertificateTable;
    return result;
  }
  DerReader certificates;
  if (!ParseDerHeader(signature, &outer) ||
      !EnterCertificateSet(signature.substr(0, outer.total_size()), &certificates)) {
    result.status = CertificateTagStatus::kInvalidCertificateTable;
    return result;
  }
  while (!certificates.empty()) {
    DerElement certificate;
    if (!ParseDerHeader(certificates.rest(), &certificate)) {
      result.status = CertificateTagStatus::kInvalidCertificateTable;
      result.tag.clear();
      return result;
    }
    std::string tag;
    const std::string_view whole = certificates.rest().substr(0, certificate.total_size());
    if (ReadTagOfCertificate(whole, &tag)) result.tag += tag;
    certificates.Skip();
  }
  return result;
}

}  // namespace lite
