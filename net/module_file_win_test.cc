#include "net/module_file_win.h"

#include "base/file_util_win.h"
#include "base/wide_string_win.h"
#include "gtest/gtest.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

ScopedHandle Open(const FilePath& path, DWORD access) {
  return ScopedHandle(CreateFileW(AsWide(path.value()), access,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST(ModuleFileTest, ReopenReadOnlyKeepsWritersOut) {
  const FilePath dir = testing::MakeScratchDir();
  const FilePath path = dir.Append(u"setup.exe");
  ModuleFile module;
  ASSERT_TRUE(module.Create(path));
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(module.GetHandle(), "MZ", 2, &written, nullptr));
  EXPECT_FALSE(Open(path, GENERIC_WRITE).is_valid());

  ASSERT_TRUE(module.ReopenReadOnly());
  char data[2] = {};
  DWORD read = 0;
  SetFilePointer(module.GetHandle(), 0, nullptr, FILE_BEGIN);
  ASSERT_TRUE(ReadFile(module.GetHandle(), data, 2, &read, nullptr));
  EXPECT_EQ(std::string(data, read), "MZ");
  EXPECT_FALSE(WriteFile(module.GetHandle(), "x", 1, &written, nullptr));
  EXPECT_FALSE(Open(path, GENERIC_WRITE).is_valid());
  ScopedHandle reader(CreateFileW(AsWide(path.value()), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_TRUE(reader.is_valid());
  reader.reset();

  module.Close();
  EXPECT_FALSE(module.IsValid());
  EXPECT_FALSE(module.ReopenReadOnly());
  EXPECT_TRUE(Open(path, GENERIC_WRITE).is_valid());
  DeletePathRecursively(dir);
}

}  // namespace
}  // namespace lite
