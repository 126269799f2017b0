// DER encoding of one element from its tag and contents.
#ifndef TOOLS_TAG_TOOL_DER_WRITER_H_
#define TOOLS_TAG_TOOL_DER_WRITER_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace lite {

// The tag, the shortest length form and the contents.
std::string EncodeDer(uint8_t tag, std::string_view contents);

}  // namespace lite

#endif  // TOOLS_TAG_TOOL_DER_WRITER_H_
