#include "base/file_path.h"

namespace lite {
namespace {

// Length of the root that DirName must never cut into: "C:\" or "C:".
size_t RootLength(const std::u16string& v) {
  if (v.size() >= 2 && v[1] == u':') {
    return (v.size() >= 3 && IsPathSeparator(v[2])) ? 3 : 2;
  }
  if (!v.empty() && IsPathSeparator(v[0])) return 1;
  return 0;
}

size_t LastSeparator(const std::u16string& v) {
  for (size_t i = v.size(); i > 0; --i) {
    if (IsPathSeparator(v[i - 1])) return i - 1;
  }
  return std::u16string::npos;
}

}  // namespace

FilePath FilePath::Append(std::u16string_view component) const {
  if (value_.empty()) return FilePath(std::u16string(component));
  std::u16string result = value_;
  while (!component.empty() && IsPathSeparator(component.front())) {
    component.remove_prefix(1);
  }
  if (!IsPathSeparator(result.back())) result.push_back(u'\\');
  result.append(component);
  return FilePath(std::move(result));
}

FilePath FilePath::DirName() const {
  std::u16string v = value_;
  const size_t root = RootLength(v);
  while (v.size() > root && IsPathSeparator(v.back())) v.pop_back();
  const size_t sep = LastSeparator(v);
  if (sep == std::u16string::npos) return FilePath(v.substr(0, root));
  if (sep < root) return FilePath(v.substr(0, root));
  size_t end = sep;
  while (end > root && IsPathSeparator(v[end - 1])) --end;
  return FilePath(v.substr(0, end));
}

std::u16string FilePath::BaseName() const {
  std::u16string v = value_;
  while (!v.empty() && IsPathSeparator(v.back())) v.pop_back();
  const size_t sep = LastSeparator(v);
  return sep == std::u16string::npos ? v : v.substr(sep + 1);
}

std::u16string FilePath::Extension() const {
  const std::u16string base = BaseName();
  const size_t dot = base.rfind(u'.');
  if (dot == std::u16string::npos || dot == 0) return std::u16string();
  return base.substr(dot);
}

FilePath FilePath::InsertBeforeExtension(std::u16string_view suffix) const {
  const std::u16string extension = Extension();
  std::u16string result = value_.substr(0, value_.size() - extension.size());
  result.append(suffix);
  result.append(extension);
  return FilePath(std::move(result));
}

bool FilePath::IsAbsolute() const {
  if (value_.size() >= 3 && value_[1] == u':' && IsPathSeparator(value_[2])) {
    return true;
  }
  return value_.size() >= 2 && IsPathSeparator(value_[0]) &&
         IsPathSeparator(value_[1]);
}

bool FilePath::ReferencesParent() const {
  size_t start = 0;
  while (start <= value_.size()) {
    size_t end = start;
    while (end < value_.size() && !IsPathSeparator(value_[end])) ++end;
    if (value_.compare(start, end - start, u"..") == 0) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace lite
