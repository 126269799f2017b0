#include "installer/run/installed_browser.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

TEST(InstalledBrowserPathTest, DottedVersions) {
  const struct {
    std::u16string text;
    bool valid;
  } cases[] = {
      {u"24.1.0.2345", true}, {u"7", true},         {u"0.0.0.0", true},
      {u"4294967295.1", true}, {u"4294967296.1", false},
      {u"", false},           {u"1..2", false},      {u".1", false},
      {u"1.", false},         {u"1.2a", false},      {u"+1.2", false},
      {u" 1.2", false},       {u"1,2", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsDottedVersion(c.text), c.valid)
        << std::string(c.text.begin(), c.text.end());
  }
}

TEST(InstalledBrowserPathTest, ApplicationDirIsThreeLevelsAboveTheSetupProgram) {
  const struct {
    std::u16string setup_path;
    std::u16string application_dir;
  } cases[] = {
      {u"C:\\Users\\u\\AppData\\Local\\Tolvar\\TolvarBrowser\\Application\\24.1.0.1\\Installer"
       u"\\setup.exe",
       u"C:\\Users\\u\\AppData\\Local\\Tolvar\\TolvarBrowser\\Application"},
      {u"C:\\Program Files (x86)\\Tolvar\\App\\1.0\\Installer\\setup.exe",
       u"C:\\Program Files (x86)\\Tolvar\\App"},
      {u"C:/App/1.0/Installer/setup.exe", u"C:/App"},
      // Only a root is left: never taken for an installation.
      {u"C:\\1.0\\Installer\\setup.exe", u""},
      {u"C:\\setup.exe", u""},
      {u"App\\1.0\\Installer\\setup.exe", u""},
      {u"C:\\App\\..\\1.0\\Installer\\setup.exe", u""},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ApplicationDirFromSetupPath(FilePath(c.setup_path)).value(), c.application_dir)
        << std::string(c.setup_path.begin(), c.setup_path.end());
  }
}

}  // namespace
}  // namespace lite
