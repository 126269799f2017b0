// A dummy X.509 certificate that carries an installer tag: a well-formed
// certificate that no chain uses, recognised by the start of its
// TBSCertificate and holding the tag in its fourth extension.
#ifndef TOOLS_TAG_TOOL_DUMMY_CERTIFICATE_H_
#define TOOLS_TAG_TOOL_DUMMY_CERTIFICATE_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace lite {

// The 16-bit length in front of the tag bounds it.
inline constexpr size_t kMaxTagSize = 0xFFFF;

// The DER certificate; |tag| must not be longer than kMaxTagSize.
std::string BuildDummyCertificate(std::string_view tag);

}  // namespace lite

#endif  // TOOLS_TAG_TOOL_DUMMY_CERTIFICATE_H_
