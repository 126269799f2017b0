#include "installer/run/installed_browser.h"

#include <cstdint>

namespace lite {

bool IsDottedVersion(std::u16string_view text) {
  uint64_t component = 0;
  bool has_digit = false;
  for (char16_t c : text) {
    if (c == u'.') {
      if (!has_digit) return false;
      component = 0;
      has_digit = false;
    } else if (c >= u'0' && c <= u'9') {
      component = component * 10 + static_cast<uint64_t>(c - u'0');
      if (component > UINT32_MAX) return false;
      has_digit = true;
    } else {
      return false;
    }
  }
  return has_digit;
}

FilePath ApplicationDirFromSetupPath(const FilePath& setup_path) {
  if (!setup_path.IsAbsolute() || setup_path.ReferencesParent()) return FilePath();
  // setup.exe -> Installer -> <version> -> application directory.
  const FilePath candidate = setup_path.DirName().DirName().DirName();
  if (candidate.empty() || candidate == candidate.DirName()) return FilePath();
  return candidate;
}

}  // namespace lite
