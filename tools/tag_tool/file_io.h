// Whole-file reads and replacing writes for the tag tool.
#ifndef TOOLS_TAG_TOOL_FILE_IO_H_
#define TOOLS_TAG_TOOL_FILE_IO_H_

#include <string>
#include <string_view>

namespace lite {

bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error);

// Writes |bytes| to a temporary file beside |path| and renames it over
// |path|, so |path| is either replaced whole or not touched. The new file
// gets the permissions of |permissions_from| (the file it was made from).
bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const std::string& permissions_from, std::string* error);

}  // namespace lite

#endif  // TOOLS_TAG_TOOL_FILE_IO_H_
