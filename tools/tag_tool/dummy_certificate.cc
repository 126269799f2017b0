#include "tools/tag_tool/dummy_certificate.h"

#include "distribution/certificate_tag.h"
#include "distribution/der_reader.h"
#include "tools/tag_tool/der_writer.h"

namespace lite {
namespace {

constexpr uint8_t kDerInteger = 0x02;
constexpr uint8_t kDerBitString = 0x03;
constexpr uint8_t kDerOid = 0x06;

std::string Bytes(const char* data, size_t size) { return std::string(data, size); }

std::string Sequence(std::string_view contents) { return EncodeDer(kDerSequence, contents); }

std::string Extension(std::string_view oid, std::string_view value) {
  return Sequence(EncodeDer(kDerOid, oid) + EncodeDer(kDerOctetString, value));
}

// An RSA key that nothing ever uses: a fixed odd 1024-bit modulus and
// exponent 65537, only so that the certificate decodes like any other.
std::string PublicKeyInfo() {
  std::string modulus(1, '\0');
  for (int i = 0; i < 128; ++i) modulus += static_cast<char>((i * 37 + 11) & 0xFF);
  modulus[1] = static_cast<char>(modulus[1] | 0x80);
  modulus.back() = static_cast<char>(modulus.back() | 1);
  const std::string key = Sequence(EncodeDer(kDerInteger, modulus) +
                                   EncodeDer(kDerInteger, Bytes("\x01\x00\x01", 3)));
  const std::string rsa_encryption =
      Sequence(EncodeDer(kDerOid, Bytes("\x2A\x86\x48\x86\xF7\x0D\x01\x01\x01", 9)) +
               Bytes("\x05\x00", 2));
  return Sequence(rsa_encryption + EncodeDer(kDerBitString, std::string(1, '\0') + key));
}

std::string Extensions(std::string_view tag) {
  // basicConstraints (CA false), keyUsage (digitalSignature), extKeyUsage
  // (codeSigning), then the tag under an OID of the 2.25 (UUID) arc.
  std::string tag_value;
  tag_value += static_cast<char>(tag.size() >> 8);
  tag_value += static_cast<char>(tag.size() & 0xFF);
  tag_value += tag;
  const std::string list =
      Extension(Bytes("\x55\x1D\x13", 3), Bytes("\x30\x00", 2)) +
      Extension(Bytes("\x55\x1D\x0F", 3), Bytes("\x03\x02\x07\x80", 4)) +
      Extension(Bytes("\x55\x1D\x25", 3),
                Bytes("\x30\x0A\x06\x08\x2B\x06\x01\x05\x05\x07\x03\x03", 12)) +
      Extension(Bytes("\x69\x81\xD3\xB7\xDE\x82\x9E\xC3\xC2\x99\xE5\x99\x9F\x9B\xB4\xE0\x86"
                      "\xCB\xD8\x4D",
                      20),
                tag_value);
  return EncodeDer(kDerContext3, Sequence(list));
}

}  // namespace

std::string BuildDummyCertificate(std::string_view tag) {
  const std::string tbs =
      Sequence(std::string(DummyCertificatePrefix()) + PublicKeyInfo() + Extensions(tag));
  const std::string sha1_with_rsa =
      Sequence(EncodeDer(kDerOid, Bytes("\x2A\x86\x48\x86\xF7\x0D\x01\x01\x05", 9)) +
               Bytes("\x05\x00", 2));
  const std::string signature = EncodeDer(kDerBitString, std::string(129, '\0'));
  return Sequence(tbs + sha1_with_rsa + signature);
}

}  // namespace lite
