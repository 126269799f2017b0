// A UTF-16 file-system path. Both separators are understood; '\' is written.
#ifndef BASE_FILE_PATH_H_
#define BASE_FILE_PATH_H_

#include <string>
#include <string_view>

namespace lite {

class FilePath {
 public:
  FilePath() = default;
  explicit FilePath(std::u16string value) : value_(std::move(value)) {}

  const std::u16string& value() const { return value_; }
  bool empty() const { return value_.empty(); }

  // |component| joined with exactly one separator between the two parts.
  FilePath Append(std::u16string_view component) const;
  // Everything before the last separator, without trailing separators.
  // "C:\a\b.txt" gives "C:\a"; "C:\b.txt" gives "C:\"; "b.txt" gives "".
  FilePath DirName() const;
  // The last component: "C:\a\b.txt" gives "b.txt".
  std::u16string BaseName() const;
  // The extension of the last component with its dot (".log"), or empty.
  std::u16string Extension() const;
  // "C:\t\x.log" with "_old" gives "C:\t\x_old.log"; without an extension
  // the suffix is appended.
  FilePath InsertBeforeExtension(std::u16string_view suffix) const;
  // Has a drive letter and a separator ("C:\") or starts with "\\".
  bool IsAbsolute() const;
  // A component equal to "..".
  bool ReferencesParent() const;

  bool operator==(const FilePath& other) const { return value_ == other.value_; }
  bool operator!=(const FilePath& other) const { return value_ != other.value_; }

 private:
  std::u16string value_;
};

inline bool IsPathSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

}  // namespace lite

#endif  // BASE_FILE_PATH_H_
