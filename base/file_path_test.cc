#include "base/file_path.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

TEST(FilePathTest, AppendPutsExactlyOneSeparator) {
  EXPECT_EQ(FilePath(u"C:\\t").Append(u"x.log").value(), u"C:\\t\\x.log");
  EXPECT_EQ(FilePath(u"C:\\t\\").Append(u"x.log").value(), u"C:\\t\\x.log");
  EXPECT_EQ(FilePath(u"C:\\t/").Append(u"\\x").value(), u"C:\\t/x");
  EXPECT_EQ(FilePath().Append(u"x").value(), u"x");
}

TEST(FilePathTest, DirNameStopsAtTheRoot) {
  EXPECT_EQ(FilePath(u"C:\\a\\b.txt").DirName().value(), u"C:\\a");
  EXPECT_EQ(FilePath(u"C:\\a\\b\\").DirName().value(), u"C:\\a");
  EXPECT_EQ(FilePath(u"C:\\b.txt").DirName().value(), u"C:\\");
  EXPECT_EQ(FilePath(u"C:\\").DirName().value(), u"C:\\");
  EXPECT_EQ(FilePath(u"b.txt").DirName().value(), u"");
  EXPECT_EQ(FilePath(u"\\x").DirName().value(), u"\\");
  EXPECT_EQ(FilePath(u"a/b").DirName().value(), u"a");
}

TEST(FilePathTest, BaseNameAndExtension) {
  EXPECT_EQ(FilePath(u"C:\\t\\lite_installer.log").BaseName(), u"lite_installer.log");
  EXPECT_EQ(FilePath(u"C:\\t\\lite_installer.log").Extension(), u".log");
  EXPECT_EQ(FilePath(u"C:\\t.d\\noext").Extension(), u"");
  EXPECT_EQ(FilePath(u"C:\\t\\.hidden").Extension(), u"");
}

TEST(FilePathTest, InsertBeforeExtension) {
  EXPECT_EQ(FilePath(u"C:\\t\\lite_installer.log").InsertBeforeExtension(u"_old").value(),
            u"C:\\t\\lite_installer_old.log");
  EXPECT_EQ(FilePath(u"C:\\t.d\\log").InsertBeforeExtension(u"_old").value(),
            u"C:\\t.d\\log_old");
}

TEST(FilePathTest, AbsoluteAndParentReferences) {
  EXPECT_TRUE(FilePath(u"C:\\x").IsAbsolute());
  EXPECT_TRUE(FilePath(u"\\\\server\\share").IsAbsolute());
  EXPECT_FALSE(FilePath(u"C:x").IsAbsolute());
  EXPECT_FALSE(FilePath(u"x\\y").IsAbsolute());
  EXPECT_TRUE(FilePath(u"C:\\a\\..\\b").ReferencesParent());
  EXPECT_TRUE(FilePath(u"..").ReferencesParent());
  EXPECT_FALSE(FilePath(u"C:\\a..b\\c").ReferencesParent());
}

}  // namespace
}  // namespace lite
