// Whole-file reads and replacing writes for the tag tool.
#ifndef TOOLS_TAG_TOOL_FILE_IO_H_
#define TOOLS_TAG_TOOL_FILE_IO_H_

#include <string>
#include <string_view>

namespace lite {

bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error);

// Writes |bytes| to a temporary file beside |path| and renames it over
// |path|, so |path| is either replaced whole or not touched. The new file
// keeps the permissions of the one it replaces.
bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::string* error);

}  // namespace lite

#endif  // TOOLS_TAG_TOOL_FILE_IO_H_
