#include "installer/elevation/local_path.h"

#include <gtest/gtest.h>

#include <string>

namespace lite {
namespace {

TEST(LocalPathTest, OnlyAbsolutePathsOnADriveAreAccepted) {
  struct Case {
    std::u16string path;
    bool accepted;
  };
  const Case cases[] = {
      {u"C:\\Users\\a\\AppData\\Local\\Temp\\tq1A2B.tmp", true},
      {u"d:/temp/setup.exe", true},
      {u"Z:\\x", true},
      {u"\\\\server\\share\\setup.exe", false},         // UNC
      {u"//server/share/setup.exe", false},             // UNC with slashes
      {u"\\\\?\\C:\\temp\\setup.exe", false},          // device namespace
      {u"\\\\.\\C:\\temp\\setup.exe", false},
      {u"\\\\?\\UNC\\server\\share\\setup.exe", false},
      {u"\\??\\C:\\temp\\setup.exe", false},           // object manager path
      {u"setup.exe", false},                            // relative
      {u"C:setup.exe", false},                          // relative to the drive's folder
      {u"\\temp\\setup.exe", false},                    // relative to the current drive
      {u"C:\\", false},                                 // no file
      {u"C:\\temp\\", false},
      {u"C:\\temp\\..\\Windows\\setup.exe", false},
      {u"C:\\temp\\.\\setup.exe", false},
      {u"C:\\temp\\\\setup.exe", false},
      {u"C:\\temp\\setup.exe:stream", false},
      {u"C:\\temp\\setup.exe::$DATA", false},
      {std::u16string(u"C:\\temp\\set\0up.exe", 18), false},
      {u"1:\\temp\\setup.exe", false},
      {u"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsAbsoluteLocalPath(c.path), c.accepted)
        << std::string(c.path.begin(), c.path.end());
  }
}

}  // namespace
}  // namespace lite
