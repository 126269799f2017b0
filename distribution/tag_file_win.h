// The installer tag of an executable file on disk.
#ifndef DISTRIBUTION_TAG_FILE_WIN_H_
#define DISTRIBUTION_TAG_FILE_WIN_H_

#include <cstddef>
#include <string>

#include "base/file_path.h"

namespace lite {

// The concatenated tags of the dummy certificates in |path|'s signature;
// empty when there are none or on error (each error writes its log lines).
std::string ExtractTagFromFakeCertificate(const FilePath& path);

// The legacy tag block of |path|, mapped read-only, with the length query
// and copy of CopyLegacyTag (distribution/legacy_tag.h).
bool ReadLegacyTag(const FilePath& path, char* buffer, size_t* size);

}  // namespace lite

#endif  // DISTRIBUTION_TAG_FILE_WIN_H_
