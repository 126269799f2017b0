// The installed-browser queries against the real registry: the values a
// browser's setup program leaves are written here, then read back through
// the queries.
#include "installer/run/installed_browser_win.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "base/file_util_win.h"
#include "base/registry_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

constexpr const char16_t* kValueNames[] = {u"tpv", u"pv", u"UninstallString", u"corporate"};

// What one registry root records; nullopt leaves a value out. "$APP" in the
// uninstall string stands for a real application directory.
struct Installation {
  std::optional<std::u16string> tpv, pv, uninstall, corporate;
};

class InstalledBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = testing::MakeScratchDir();
    ASSERT_FALSE(scratch_.empty());
    app_dir_ = scratch_.Append(u"Application");
    ASSERT_TRUE(CreateDirectoryWithParents(app_dir_.Append(u"24.1.0.1\\Installer")));
    Clear();
  }
  void TearDown() override {
    Clear();
    DeletePathRecursively(scratch_);
  }

  void Clear() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      RegistryKey key;
      if (key.Open(root, kInstalledBrowserKey, KEY_SET_VALUE) != ERROR_SUCCESS) continue;
      for (const char16_t* name : kValueNames) key.DeleteValue(name);
    }
  }

  void Record(HKEY root, const Installation& installation) {
    RegistryKey key;
    ASSERT_EQ(key.Create(root, kInstalledBrowserKey, KEY_SET_VALUE), ERROR_SUCCESS);
    const std::pair<const char16_t*, const std::optional<std::u16string>*> values[] = {
        {u"tpv", &installation.tpv},
        {u"pv", &installation.pv},
        {u"UninstallString", &installation.uninstall},
        {u"corporate", &installation.corporate}};
    for (const auto& [name, value] : values) {
      if (!*value) continue;
      std::u16string text = **value;
      const size_t app = text.find(u"$APP");
      if (app != std::u16string::npos) text.replace(app, 4, app_dir_.value());
      ASSERT_EQ(key.WriteString(name, text), ERROR_SUCCESS);
    }
  }

  std::u16string Setup() const { return u"$APP\\24.1.0.1\\Installer\\setup.exe"; }

  FilePath scratch_;
  FilePath app_dir_;
};

TEST_F(InstalledBrowserTest, ExistingInstallDirAtEitherLevel) {
  const struct {
    const char* name;
    Installation recorded;
    bool found;
  } cases[] = {
      {"pv when tpv is empty", {u"", u"24.1.0.1", Setup()}, true},
      {"tpv alone", {u"25.2.0.7", std::nullopt, Setup()}, true},
      {"tpv that is no version hides pv", {u"beta", u"24.1.0.1", Setup()}, false},
      {"no version", {std::nullopt, std::nullopt, Setup()}, false},
      {"no uninstall string", {u"24.1.0.1", std::nullopt, u""}, false},
      {"relative uninstall string",
       {u"24.1.0.1", std::nullopt, u"Application\\24.1.0.1\\Installer\\setup.exe"}, false},
      {"uninstall string climbing with ..",
       {u"24.1.0.1", std::nullopt, u"$APP\\..\\Application\\24.1.0.1\\Installer\\setup.exe"},
       false},
      {"application directory missing",
       {u"24.1.0.1", std::nullopt, u"$APP\\gone\\24.1.0.1\\Installer\\setup.exe"}, false},
      // Three levels up from C:\setup.exe is the drive's root, which exists.
      {"a root", {u"24.1.0.1", std::nullopt, u"C:\\setup.exe"}, false},
  };
  for (const auto& level : {InstallLevel::kUser, InstallLevel::kSystem}) {
    const HKEY root = level == InstallLevel::kSystem ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (level == InstallLevel::kSystem ? ", system" : ", user"));
      Clear();
      Record(root, c.recorded);
      EXPECT_EQ(GetExistingInstallDir(level), c.found ? app_dir_ : FilePath());
      // The other level is untouched.
      const InstallLevel other =
          level == InstallLevel::kSystem ? InstallLevel::kUser : InstallLevel::kSystem;
      EXPECT_TRUE(GetExistingInstallDir(other).empty());
    }
  }
}

TEST_F(InstalledBrowserTest, CorporateAndOrdinaryInstallations) {
  const struct {
    const char* name;
    Installation user, system;
    bool corporate, ordinary, present_kind;
    std::string present_text;
  } cases[] = {
      {"nothing installed", {}, {}, false, false, false, "none"},
      {"user level", {u"24.1.0.1", {}, Setup()}, {}, false, true, false, "user"},
      {"system level", {}, {u"24.1.0.1", {}, Setup()}, false, true, false, "user"},
      {"corporate system level",
       {}, {u"24.1.0.1", {}, Setup(), u"true"}, true, false, true, "corporate"},
      // The corporate flag alone is no installation.
      {"corporate flag only", {}, {{}, {}, {}, u"true"}, true, false, false, "none"},
      {"a user-level installation beside a corporate flag",
       {u"24.1.0.1", {}, Setup()}, {{}, {}, {}, u"true"}, true, false, false, "none"},
      // The comparison is exact.
      {"capital T", {}, {u"24.1.0.1", {}, Setup(), u"True"}, false, true, false, "user"},
      {"trailing blank", {}, {u"24.1.0.1", {}, Setup(), u"true "}, false, true, false, "user"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Clear();
    Record(HKEY_CURRENT_USER, c.user);
    Record(HKEY_LOCAL_MACHINE, c.system);
    EXPECT_EQ(IsCorporateInstall(), c.corporate);
    EXPECT_EQ(HasOrdinaryBrowser(), c.ordinary);
    EXPECT_EQ(GetBrowserPresentKind(), c.present_kind);
    EXPECT_EQ(GetBrowserPresentText(), c.present_text);
  }
}

TEST_F(InstalledBrowserTest, BrowserApplicationDir) {
  // Without a system-level installation: the per-user place, whether or not
  // a user-level installation is recorded elsewhere.
  Record(HKEY_CURRENT_USER, {u"24.1.0.1", {}, Setup()});
  wchar_t local_app_data[MAX_PATH];
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr,
                                         SHGFP_TYPE_CURRENT, local_app_data)));
  EXPECT_EQ(GetBrowserApplicationDir().value(),
            FromWide(local_app_data) + u"\\Tolvar\\TolvarBrowser\\Application");

  Record(HKEY_LOCAL_MACHINE, {u"24.1.0.1", {}, Setup()});
  EXPECT_EQ(GetBrowserApplicationDir(), app_dir_);
}

}  // namespace
}  // namespace lite
