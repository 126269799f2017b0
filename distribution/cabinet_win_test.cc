#include "distribution/cabinet_win.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include "base/file_util_win.h"
#include "base/process_win.h"
#include "base/registry_win.h"
#include "base/system_library_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "distribution/resource_bytes_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Key;
using ::testing::Pair;

std::string_view OwnPackage(const wchar_t* name) { return LoadBinResource(nullptr, name); }

// Whether |module| was loaded from the folder the system reports as its own.
bool IsFromSystemFolder(HMODULE module) {
  wchar_t system[MAX_PATH];
  wchar_t loaded[MAX_PATH];
  const UINT system_length = GetSystemDirectoryW(system, MAX_PATH);
  const DWORD loaded_length = module ? GetModuleFileNameW(module, loaded, MAX_PATH) : 0;
  if (system_length == 0 || system_length >= MAX_PATH || loaded_length == 0 ||
      loaded_length >= MAX_PATH) {
    return false;
  }
  const FilePath folder = FilePath(FromWide(loaded, loaded_length)).DirName();
  return ToLowerASCII(folder.value()) == ToLowerASCII(FromWide(system, system_length));
}

// Loads cabinet.dll the way |args[0]| names and extracts a package with it
// where that is the production path. 0 when the system's cabinet.dll did
// the work; the other codes say which step failed.
int LoadCabinetInChild(const std::vector<std::u16string>& args) {
  const std::u16string& way = args.at(0);
  if (way == u"extraction") {
    if (!LoadCabinetLibrary()) return 2;
    std::map<std::string, std::string> files;
    if (!ExtractCabinetFiles(OwnPackage(L"BRAND_MULTI"), "", &files) || files.size() != 2) {
      return 3;
    }
    return IsFromSystemFolder(GetModuleHandleW(L"cabinet.dll")) ? 0 : 4;
  }
  HMODULE module = way == u"search-flag" ? LoadSystemLibrary(L"cabinet.dll")
                                         : LoadSystemLibraryByFullPath(L"cabinet.dll");
  if (!module) return 5;
  if (!GetProcAddress(module, "FDICreate")) return 6;
  return IsFromSystemFolder(module) ? 0 : 4;
}
TL_CHILD_PROCESS("load-cabinet", LoadCabinetInChild);

// HKCU\Environment lets a user set %WINDIR% and %SystemRoot% for every
// process of theirs, an elevated one included: a cabinet.dll planted under
// them must never load.
TEST(CabinetTest, CabinetLibraryComesFromTheSystemFolderWhateverWindirSays) {
  const FilePath planted_windows = testing::MakeScratchDir();
  ASSERT_FALSE(planted_windows.empty());
  const FilePath planted_system = planted_windows.Append(u"system32");
  ASSERT_TRUE(CreateDirectoryW(AsWide(planted_system.value()), nullptr));
  const FilePath planted = planted_system.Append(u"cabinet.dll");
  ASSERT_TRUE(CopyFileW(
      AsWide(GetExecutablePath().DirName().Append(u"" TL_PLANTED_CABINET_MODULE).value()),
      AsWide(planted.value()), FALSE));
  const FilePath marker(planted.value() + u".loaded");

  // Wine prefers its own cabinet.dll to a file of that name wherever it
  // lies; for one executable name it can be told to load files on disk
  // first, as Windows does. The children run as a copy under that name.
  const std::u16string copy_name = u"cabinet_under_planted_windir.exe";
  const FilePath copy = planted_windows.Append(copy_name);
  ASSERT_TRUE(CopyFileW(AsWide(GetExecutablePath().value()), AsWide(copy.value()), FALSE));
  const std::u16string app_defaults = u"Software\\Wine\\AppDefaults\\" + copy_name;
  {
    RegistryKey overrides;
    ASSERT_EQ(overrides.Create(HKEY_CURRENT_USER, app_defaults + u"\\DllOverrides", KEY_SET_VALUE),
              ERROR_SUCCESS);
    ASSERT_EQ(overrides.WriteString(u"cabinet", u"native,builtin"), ERROR_SUCCESS);
  }

  LaunchOptions options;
  options.environment = testing::EnvironmentWith(
      {{u"WINDIR", planted_windows.value()}, {u"SystemRoot", planted_windows.value()}});
  for (const char16_t* way : {u"extraction", u"search-flag", u"full-path"}) {
    SCOPED_TRACE(UTF16ToUTF8(way));
    Process child = LaunchProcess(
        testing::JoinCommandLine({copy.value(), u"--child=load-cabinet", way}), options);
    ASSERT_TRUE(child.is_valid());
    int exit_code = -1;
    if (!child.WaitForExit(60000, &exit_code)) child.Terminate(1);
    EXPECT_EQ(exit_code, 0);
    EXPECT_FALSE(PathExists(marker)) << "the planted cabinet.dll was loaded";
    DeleteFileW(AsWide(marker.value()));
  }
  RegDeleteTreeW(HKEY_CURRENT_USER, AsWide(app_defaults));
  DeletePathRecursively(planted_windows);
}

TEST(CabinetTest, ExtractsTheWantedMemberOrEveryMember) {
  ASSERT_TRUE(LoadCabinetLibrary());
  ASSERT_TRUE(LoadCabinetLibrary()) << "a second call reuses the loaded library";
  const std::string_view multi = OwnPackage(L"BRAND_MULTI");
  ASSERT_FALSE(multi.empty());

  std::map<std::string, std::string> files{{"stale", "x"}};
  EXPECT_TRUE(ExtractCabinetFiles(multi, "", &files));
  EXPECT_THAT(files, ElementsAre(Pair("brand_config", "{\"brand_id\": \"multi_brand\"}\n"),
                                 Pair("notes.txt", "not configuration\n")));

  EXPECT_TRUE(ExtractCabinetFiles(multi, "notes.txt", &files));
  EXPECT_THAT(files, ElementsAre(Key("notes.txt")));
}

TEST(CabinetTest, MemberNamesMatchWithTheirLetterCase) {
  const std::string_view mixed = OwnPackage(L"BRAND_MIXED_CASE");
  std::map<std::string, std::string> files;
  EXPECT_TRUE(ExtractCabinetFiles(mixed, "brand_config", &files));
  EXPECT_THAT(files, IsEmpty());
  EXPECT_TRUE(ExtractCabinetFiles(mixed, "Brand_Config", &files));
  EXPECT_THAT(files, ElementsAre(Pair("Brand_Config", "{\"brand_id\": \"mixed_case_brand\"}\n")));
}

TEST(CabinetTest, BrokenCabinetsFailWithoutMembers) {
  const std::string_view multi = OwnPackage(L"BRAND_MULTI");
  std::map<std::string, std::string> files;
  EXPECT_FALSE(ExtractCabinetFiles(OwnPackage(L"BRAND_NOT_A_CABINET"), "", &files));
  EXPECT_THAT(files, IsEmpty());
  EXPECT_FALSE(ExtractCabinetFiles(std::string_view(), "", &files));
  // Cut inside the compressed data: the header reads, the data does not.
  EXPECT_FALSE(ExtractCabinetFiles(multi.substr(0, multi.size() - 20), "", &files));
  EXPECT_THAT(files, IsEmpty());
  EXPECT_FALSE(ExtractCabinetFiles(multi.substr(0, 30), "", &files));
}

TEST(CabinetTest, MemberWithAnImpossibleSizeFailsTheExtraction) {
  std::string cabinet(OwnPackage(L"BRAND_MULTI"));
  ASSERT_GT(cabinet.size(), 36u);
  // The first CFFILE entry begins with the member's uncompressed size.
  const size_t first_file = static_cast<uint8_t>(cabinet[16]) |
                            static_cast<uint8_t>(cabinet[17]) << 8;
  ASSERT_LT(first_file + 4, cabinet.size());
  for (const char* size : {"\xF0\xFF\xFF\xFF", "\x00\x00\x00\x80"}) {
    cabinet.replace(first_file, 4, size, 4);
    std::map<std::string, std::string> files;
    EXPECT_FALSE(ExtractCabinetFiles(cabinet, "", &files));
    EXPECT_THAT(files, IsEmpty());
  }
}

}  // namespace
}  // namespace lite
