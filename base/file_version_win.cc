#include "base/file_version_win.h"

#include <string>
#include <vector>

#include "base/wide_string_win.h"

namespace lite {

std::optional<VS_FIXEDFILEINFO> ReadFixedFileInfo(const FilePath& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(AsWide(path.value()), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<char> block(size);
  if (!GetFileVersionInfoW(AsWide(path.value()), 0, size, block.data())) return std::nullopt;
  void* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", &info, &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  return *static_cast<const VS_FIXEDFILEINFO*>(info);
}

std::string GetFileVersionText(const FilePath& path) {
  const std::optional<VS_FIXEDFILEINFO> info = ReadFixedFileInfo(path);
  if (!info) return "0.0.0.0";
  return std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
         std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(info->dwFileVersionLS)) + "." +
         std::to_string(LOWORD(info->dwFileVersionLS));
}

}  // namespace lite
