#include "tools/tag_tool/tag_stamper.h"

#include <optional>

#include "distribution/certificate_tag.h"
#include "distribution/der_reader.h"
#include "distribution/legacy_tag.h"
#include "distribution/pe_certificate_table.h"
#include "tools/tag_tool/der_writer.h"
#include "tools/tag_tool/dummy_certificate.h"

namespace lite {
namespace {

constexpr uint16_t kWinCertRevision2 = 0x0200;
constexpr uint16_t kWinCertTypePkcsSignedData = 0x0002;

void PutLittleEndian32(std::string* bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<char>(value >> (8 * i));
}

size_t AlignTo8(size_t size) { return (size + 7) & ~size_t{7}; }

// Reads the next element and the bytes that encode it.
bool ReadRaw(DerReader* reader, DerElement* element, std::string_view* raw) {
  const std::string_view before = reader->rest();
  if (!reader->Read(element)) return false;
  *raw = before.substr(0, element->total_size());
  return true;
}

// The signed image's table and the DER signature at its start.
struct SignedImage {
  CertificateTable table;
  std::string_view signature;  // the ContentInfo, without what follows it
};

std::optional<SignedImage> FindSignature(std::string_view image, std::string* error) {
  const std::optional<CertificateTable> table = FindCertificateTable(image);
  if (!table) {
    *error = "no certificate table: the file is not a signed PE image";
    return std::nullopt;
  }
  if (uint64_t{table->offset} + table->size != image.size()) {
    *error = "data follows the certificate table; refusing to move it";
    return std::nullopt;
  }
  const std::string_view entry = image.substr(table->offset, table->size);
  const uint32_t length = ReadLittleEndian32(entry, 0);
  if (length < kWinCertificateHeaderSize || length > entry.size() ||
      ReadLittleEndian16(entry, 4) != kWinCertRevision2 ||
      ReadLittleEndian16(entry, 6) != kWinCertTypePkcsSignedData) {
    *error = "the certificate table does not start with a PKCS #7 WIN_CERTIFICATE";
    return std::nullopt;
  }
  DerElement outer;
  const std::string_view blob = entry.substr(kWinCertificateHeaderSize, length - 8);
  if (!ParseDerHeader(blob, &outer) || outer.tag != kDerSequence) {
    *error = "the signature is not a DER SEQUENCE";
    return std::nullopt;
  }
  return SignedImage{*table, blob.substr(0, outer.total_size())};
}

// Replaces the certificate table with one WIN_CERTIFICATE holding |contents|,
// padded to 8 bytes, and updates the directory entry and the checksum.
void WriteCertificateTable(std::string* image, const CertificateTable& table,
                           std::string_view contents) {
  const size_t size = AlignTo8(kWinCertificateHeaderSize + contents.size());
  std::string entry(kWinCertificateHeaderSize, '\0');
  PutLittleEndian32(&entry, 0, static_cast<uint32_t>(size));
  entry[4] = static_cast<char>(kWinCertRevision2 & 0xFF);
  entry[5] = static_cast<char>(kWinCertRevision2 >> 8);
  entry[6] = static_cast<char>(kWinCertTypePkcsSignedData);
  entry += contents;
  entry.resize(size, '\0');
  image->resize(table.offset);
  *image += entry;
  PutLittleEndian32(image, table.directory_entry_offset + 4, static_cast<uint32_t>(size));
  if (ReadLittleEndian32(*image, table.checksum_offset) != 0) {
    PutLittleEndian32(image, table.checksum_offset,
                      ComputePeChecksum(*image, table.checksum_offset));
  }
}

bool CheckTagSize(std::string_view tag, std::string* error) {
  if (tag.size() <= kMaxTagSize) return true;
  *error = "the tag is " + std::to_string(tag.size()) + " bytes long; at most " +
           std::to_string(kMaxTagSize) + " fit behind its 16-bit length";
  return false;
}

}  // namespace

bool ReplaceDummyCertificates(std::string_view signature, const std::vector<std::string>& dummies,
                              std::string* out) {
  DerReader top(signature), content_info_reader;
  DerElement element, content;
  std::string_view content_type;
  if (!top.Enter(kDerSequence, &content_info_reader) ||
      !ReadRaw(&content_info_reader, &element, &content_type) ||
      !content_info_reader.Read(&content) || content.tag != kDerContext0) {
    return false;
  }
  DerReader explicit_content(content.contents), signed_data;
  if (!explicit_content.Enter(kDerSequence, &signed_data)) return false;

  std::vector<std::string> fields;
  size_t certificates_index = 0;
  while (!signed_data.empty()) {
    std::string_view raw;
    if (!ReadRaw(&signed_data, &element, &raw)) return false;
    // version, digestAlgorithms and encapContentInfo come first.
    if (fields.size() >= 3 && element.tag == kDerContext0 && certificates_index == 0) {
      certificates_index = fields.size();
      std::string set;
      DerReader certificates(element.contents);
      while (!certificates.empty()) {
        std::string_view certificate;
        if (!ReadRaw(&certificates, &element, &certificate)) return false;
        if (!IsDummyCertificate(certificate)) set += certificate;
      }
      for (const std::string& dummy : dummies) set += dummy;
      fields.push_back(EncodeDer(kDerContext0, set));
      continue;
    }
    fields.emplace_back(raw);
  }
  if (fields.size() < 4) return false;
  if (certificates_index == 0) {
    std::string set;
    for (const std::string& dummy : dummies) set += dummy;
    fields.insert(fields.begin() + 3, EncodeDer(kDerContext0, set));
  }
  std::string joined;
  for (const std::string& field : fields) joined += field;
  const std::string new_content =
      EncodeDer(kDerContext0, EncodeDer(kDerSequence, joined) + std::string(explicit_content.rest()));
  *out = EncodeDer(kDerSequence, std::string(content_type) + new_content +
                                     std::string(content_info_reader.rest()));
  return true;
}

bool StampCertificateTag(std::string* image, std::string_view tag, std::string* error) {
  return StampDummyCertificates(image, {std::string(tag)}, error);
}

bool StampDummyCertificates(std::string* image, const std::vector<std::string>& tags,
                            std::string* error) {
  std::vector<std::string> dummies;
  for (const std::string& tag : tags) {
    if (!CheckTagSize(tag, error)) return false;
    dummies.push_back(BuildDummyCertificate(tag));
  }
  const std::optional<SignedImage> signed_image = FindSignature(*image, error);
  if (!signed_image) return false;
  std::string signature;
  if (!ReplaceDummyCertificates(signed_image->signature, dummies, &signature)) {
    *error = "the signature is not a PKCS #7 SignedData with a certificate set";
    return false;
  }
  WriteCertificateTable(image, signed_image->table, signature);
  return true;
}

bool StampLegacyTag(std::string* image, std::string_view tag, std::string* error) {
  if (!CheckTagSize(tag, error)) return false;
  const std::optional<SignedImage> signed_image = FindSignature(*image, error);
  if (!signed_image) return false;
  const CertificateTable& table = signed_image->table;
  if (table.magic != kPe32Magic) {
    *error = "the legacy block is read only from 32-bit (PE32) images";
    return false;
  }
  const std::string_view signature = signed_image->signature;
  if (signature.substr(0, 2) != "\x30\x82") {
    *error = "the signature does not begin with 0x30 0x82";
    return false;
  }
  const size_t block =
      LegacyTagBlockOffset(table.offset, ReadBigEndian16(signature, 2)) - table.offset;
  std::string contents(signature);
  contents.resize(block - kWinCertificateHeaderSize, '\0');
  contents += kLegacyTagMagic;
  contents += static_cast<char>(tag.size() >> 8);
  contents += static_cast<char>(tag.size() & 0xFF);
  contents += tag;
  WriteCertificateTable(image, table, contents);
  return true;
}

uint32_t ComputePeChecksum(std::string_view image, size_t checksum_offset) {
  // The checksum field counts as zero.
  const auto byte = [&](size_t i) -> uint32_t {
    if (i >= image.size() || (i >= checksum_offset && i < checksum_offset + 4)) return 0;
    return static_cast<uint8_t>(image[i]);
  };
  uint64_t sum = 0;
  for (size_t i = 0; i < image.size(); i += 2) {
    sum += byte(i) | byte(i + 1) << 8;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + image.size());
}

}  // namespace lite
