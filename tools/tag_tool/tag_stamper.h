// Writes an installer tag into the Authenticode certificate table of a
// signed PE image held in memory, keeping the signature valid: the table is
// not covered by the signed hash, and the certificate set is an unsigned
// part of SignedData. On failure the image is left as it was and |error|
// says why.
#ifndef TOOLS_TAG_TOOL_TAG_STAMPER_H_
#define TOOLS_TAG_TOOL_TAG_STAMPER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lite {

// Replaces any dummy certificates of the signature with one carrying |tag|,
// and drops a legacy block (its place depends on the signature's length).
bool StampCertificateTag(std::string* image, std::string_view tag, std::string* error);
// The same with one dummy certificate per tag, in order.
bool StampDummyCertificates(std::string* image, const std::vector<std::string>& tags,
                            std::string* error);

// Puts the legacy block with |tag| after the signature blob. Only 32-bit
// images carry it.
bool StampLegacyTag(std::string* image, std::string_view tag, std::string* error);

// The PKCS #7 ContentInfo |signature| with its dummy certificates removed
// and |dummies| appended to the certificate set.
bool ReplaceDummyCertificates(std::string_view signature, const std::vector<std::string>& dummies,
                              std::string* out);

// The optional-header checksum of |image|, skipping the field itself.
uint32_t ComputePeChecksum(std::string_view image, size_t checksum_offset);

}  // namespace lite

#endif  // TOOLS_TAG_TOOL_TAG_STAMPER_H_
