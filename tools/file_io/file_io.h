// Whole-file reads and replacing writes for the release tools: a tool either
// replaces its output whole or leaves it as it was.
#ifndef TOOLS_FILE_IO_FILE_IO_H_
#define TOOLS_FILE_IO_FILE_IO_H_

#include <string>
#include <string_view>

namespace lite {

bool ReadWholeFile(const std::string& path, std::string* bytes, std::string* error);

// Writes |bytes| to a temporary file beside |path| and renames it over
// |path|, so |path| is either replaced whole or not touched. The new file
// gets the permissions of |permissions_from| (the file it was made from);
// with an empty one, those of a newly created file.
bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         const std::string& permissions_from, std::string* error);

}  // namespace lite

#endif  // TOOLS_FILE_IO_FILE_IO_H_
