#include "distribution/tag_file_win.h"

#include <windows.h>

#include <limits>
#include <string_view>

#include "base/scoped_handle_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "distribution/certificate_tag.h"
#include "distribution/legacy_tag.h"
#include "logging/system_error_win.h"

namespace lite {
namespace {

// The file's bytes through a read-only mapping: only the pages the tag
// reader touches (the headers and the certificate table at the end) are
// read from disk, not the whole image. |bytes| stays valid while |view| lives.
bool ReadAllBytesFromFile(const FilePath& path, ScopedMappedView* view, std::string_view* bytes) {
  const std::string name = UTF16ToUTF8(path.value());
  ScopedHandle file(CreateFileW(AsWide(path.value()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.is_valid()) {
    PLOG(ERROR) << "Can't open file " << name;
    return false;
  }
  LARGE_INTEGER length;
  // Certificate offsets are 32-bit, so a larger file cannot be an image.
  if (!GetFileSizeEx(file.get(), &length) ||
      length.QuadPart > std::numeric_limits<DWORD>::max()) {
    PLOG(ERROR) << "Failed to get length of " << name;
    return false;
  }
  *bytes = std::string_view();
  if (length.QuadPart == 0) return true;  // an empty file cannot be mapped
  ScopedHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (mapping.is_valid()) view->reset(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
  if (!view->is_valid()) {
    PLOG(ERROR) << "Failed to map " << name;
    return false;
  }
  *bytes = std::string_view(static_cast<const char*>(view->get()),
                            static_cast<size_t>(length.QuadPart));
  return true;
}

}  // namespace

std::string ExtractTagFromFakeCertificate(const FilePath& path) {
  const std::string name = UTF16ToUTF8(path.value());
  ScopedMappedView view;
  std::string_view file;
  if (!ReadAllBytesFromFile(path, &view, &file)) {
    PLOG(ERROR) << "Failed to read file " << name;
    return std::string();
  }
  CertificateTagResult result = ReadCertificateTag(file);
  switch (result.status) {
    case CertificateTagStatus::kOk:
      return std::move(result.tag);
    case CertificateTagStatus::kNoCertificateTable:
      PLOG(ERROR) << "Failed to find certificate table in " << name;
      break;
    case CertificateTagStatus::kInvalidCertificateTable:
      PLOG(ERROR) << "Invalid ASN1 format of certificate table in " << name;
      break;
  }
  return std::string();
}

bool ReadLegacyTag(const FilePath& path, char* buffer, size_t* size) {
  ScopedHandle file(CreateFileW(AsWide(path.value()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.is_valid()) return false;
  ScopedHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping.is_valid()) return false;
  ScopedMappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
  if (!view.is_valid()) return false;
  MEMORY_BASIC_INFORMATION region;
  if (VirtualQuery(view.get(), &region, sizeof(region)) == 0) return false;
  const std::string_view image(static_cast<const char*>(view.get()), region.RegionSize);
  return CopyLegacyTag(image, buffer, size);
}

}  // namespace lite
