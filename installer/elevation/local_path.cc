#include "installer/elevation/local_path.h"

namespace lite {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

}  // namespace

bool IsAbsoluteLocalPath(std::u16string_view path) {
  if (path.size() < 4 || !IsDriveLetter(path[0]) || path[1] != u':' || !IsSeparator(path[2])) {
    return false;
  }
  size_t name_start = 3;
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i < path.size() && !IsSeparator(path[i])) {
      if (path[i] < 0x20 || path[i] == u':') return false;
      continue;
    }
    const std::u16string_view name = path.substr(name_start, i - name_start);
    // An empty step ("C:\a\\b") or a trailing separator names no file either.
    if (name.empty() || name == u"." || name == u"..") return false;
    name_start = i + 1;
  }
  return true;
}

}  // namespace lite
