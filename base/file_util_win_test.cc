#include "base/file_util_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "base/proc_address_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"

#include "tests/support/child_process_win.h"

namespace lite {
namespace {

class FileUtilTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testing::MakeScratchDir();
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { DeletePathRecursively(dir_); }
  FilePath dir_;
};

TEST_F(FileUtilTest, WriteReadAndTheSizeLimit) {
  const FilePath file = dir_.Append(u"data.bin");
  const std::string data("a\0b\r\nc", 6);
  ASSERT_TRUE(WriteWholeFile(file, data));
  EXPECT_EQ(ReadFileWithLimit(file, 6), data);
  EXPECT_FALSE(ReadFileWithLimit(file, 5).has_value());
  EXPECT_EQ(GetFileSize(file), 6u);
  ASSERT_TRUE(WriteWholeFile(file, "x"));  // replaces, does not append
  EXPECT_EQ(ReadFileWithLimit(file, 100), std::string("x"));
  EXPECT_FALSE(ReadFileWithLimit(dir_.Append(u"missing"), 100).has_value());
}

TEST_F(FileUtilTest, DirectoriesWithParentsAndRecursiveDelete) {
  const FilePath deep = dir_.Append(u"a").Append(u"b").Append(u"c");
  ASSERT_TRUE(CreateDirectoryWithParents(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(CreateDirectoryWithParents(deep));  // already there is fine
  ASSERT_TRUE(WriteWholeFile(deep.Append(u"f.txt"), "f"));
  ASSERT_TRUE(DeletePathRecursively(dir_.Append(u"a")));
  EXPECT_FALSE(PathExists(dir_.Append(u"a")));
  // A file where a directory should be makes creation fail.
  ASSERT_TRUE(WriteWholeFile(dir_.Append(u"file"), ""));
  EXPECT_FALSE(CreateDirectoryWithParents(dir_.Append(u"file").Append(u"sub")));
}

// A directory link inside the tree, made the way the system at hand can:
// a junction on Windows, a Unix symbolic link under Wine (whose links
// Windows programs see as reparse points).
bool MakeDirectoryLink(const FilePath& link, const FilePath& target) {
  std::u16string command = u"cmd.exe /c mklink /J \"" + link.value() + u"\" \"" + target.value() + u"\"";
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unix_name =
      GetProcAddressAs<UnixName>(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
  if (unix_name) {
    char* unix_link = unix_name(AsWide(link.value()));
    char* unix_target = unix_name(AsWide(target.value()));
    if (!unix_link || !unix_target) return false;
    command = u"Z:\\bin\\ln -s " + WidenBytes(unix_target) + u" " + WidenBytes(unix_link);
    HeapFree(GetProcessHeap(), 0, unix_link);
    HeapFree(GetProcessHeap(), 0, unix_target);
  }
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, const_cast<wchar_t*>(AsWide(command)), nullptr, nullptr, FALSE,
                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const DWORD attributes = GetFileAttributesW(AsWide(link.value()));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

TEST_F(FileUtilTest, RecursiveDeleteDoesNotFollowADirectoryLink) {
  const FilePath outside = dir_.Append(u"outside");
  ASSERT_TRUE(CreateDirectoryWithParents(outside));
  ASSERT_TRUE(WriteWholeFile(outside.Append(u"keep.txt"), "keep"));
  const FilePath tree = dir_.Append(u"tree");
  ASSERT_TRUE(CreateDirectoryWithParents(tree));
  ASSERT_TRUE(WriteWholeFile(tree.Append(u"own.txt"), "own"));
  // Wine makes the link through a Unix symbolic link when it can start
  // /bin/ln; where it cannot, there is no link to test against.
  if (!MakeDirectoryLink(tree.Append(u"link"), outside)) {
    GTEST_SKIP() << "this system could not make a directory link";
  }

  DeletePathRecursively(tree);
  EXPECT_EQ(ReadFileWithLimit(outside.Append(u"keep.txt"), 10), std::string("keep"));
  EXPECT_FALSE(PathExists(tree.Append(u"own.txt")));
}

TEST_F(FileUtilTest, EnumerateFilesMatchesFilesOnly) {
  ASSERT_TRUE(WriteWholeFile(dir_.Append(u"one.dll"), ""));
  ASSERT_TRUE(WriteWholeFile(dir_.Append(u"two.DLL"), ""));
  ASSERT_TRUE(WriteWholeFile(dir_.Append(u"three.txt"), ""));
  ASSERT_TRUE(CreateDirectoryWithParents(dir_.Append(u"dir.dll")));
  std::vector<FilePath> found = EnumerateFiles(dir_, u"*.dll");
  std::vector<std::u16string> names;
  for (const FilePath& f : found) names.push_back(f.BaseName());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"one.dll", u"two.DLL"}));
}

TEST_F(FileUtilTest, UniqueTemporaryNames) {
  std::optional<FilePath> a = CreateUniqueTempDir(u"x");
  std::optional<FilePath> b = CreateUniqueTempDir(u"x");
  ASSERT_TRUE(a && b);
  EXPECT_NE(*a, *b);
  EXPECT_TRUE(DirectoryExists(*a));
  DeletePathRecursively(*a);
  DeletePathRecursively(*b);
  std::optional<FilePath> f1 = CreateTemporaryFileInDir(dir_, u"tl");
  std::optional<FilePath> f2 = CreateTemporaryFileInDir(dir_, u"tl");
  ASSERT_TRUE(f1 && f2);
  EXPECT_NE(*f1, *f2);
  EXPECT_EQ(GetFileSize(*f1), 0u);
}

TEST(TempDirTest, EndsWithSeparatorAndExists) {
  const FilePath temp = GetUserTempDir();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.value().back(), u'\\');
  EXPECT_TRUE(DirectoryExists(temp));
  EXPECT_EQ(GetExecutablePath().Extension(), u".exe");
}

}  // namespace
}  // namespace lite
