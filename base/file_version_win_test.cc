#include "base/file_version_win.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/file_util_win.h"
#include "base/wide_string_win.h"

namespace lite {
namespace {

TEST(FileVersionTest, SystemLibraryHasOneAndATextFileHasNone) {
  wchar_t system[MAX_PATH];
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  const FilePath kernel32 = FilePath(FromWide(system)).Append(u"kernel32.dll");
  const std::string version = GetFileVersionText(kernel32);
  EXPECT_NE(version, "0.0.0.0");
  EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 3);

  const FilePath dir = *CreateUniqueTempDir(u"file_version_test");
  const FilePath text = dir.Append(u"plain.txt");
  ASSERT_TRUE(WriteWholeFile(text, "no resources here"));
  EXPECT_EQ(GetFileVersionText(text), "0.0.0.0");
  EXPECT_FALSE(ReadFixedFileInfo(dir.Append(u"missing.dll")).has_value());
  DeletePathRecursively(dir);
}

}  // namespace
}  // namespace lite
