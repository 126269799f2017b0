#include "installer/elevation/protected_folder_win.h"

#include <windows.h>

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/file_util_win.h"
#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

struct Ace {
  WELL_KNOWN_SID_TYPE who;
  ACCESS_MASK mask;
};

// The allowing entries of |dacl| as well-known accounts; false when an
// entry is of another kind or for another account.
bool ReadAces(const ACL* dacl, std::vector<Ace>* aces) {
  for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(const_cast<ACL*>(dacl), i, &entry)) return false;
    const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    if (allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) return false;
    const PSID sid = const_cast<DWORD*>(&allowed->SidStart);
    bool known = false;
    for (WELL_KNOWN_SID_TYPE type : {WinBuiltinAdministratorsSid, WinLocalSystemSid}) {
      if (IsWellKnownSid(sid, type)) {
        aces->push_back({type, allowed->Mask});
        known = true;
      }
    }
    if (!known) return false;
  }
  return true;
}

void ExpectOnlyAdministratorsAndSystem(PSECURITY_DESCRIPTOR descriptor, const ACL* dacl) {
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
  EXPECT_TRUE(control & SE_DACL_PROTECTED) << "nothing inherited from the folder above";
  std::vector<Ace> aces;
  EXPECT_TRUE(ReadAces(dacl, &aces)) << "an entry for someone else";
  ASSERT_EQ(aces.size(), 2u);
  for (const Ace& ace : aces) EXPECT_EQ(ace.mask, static_cast<ACCESS_MASK>(FILE_ALL_ACCESS));
  EXPECT_NE(aces[0].who, aces[1].who);
}

// Whether the file system keeps the access lists it is given (Wine maps
// them to Unix permissions and gives back what those say).
bool FileSystemKeepsAccessLists(const ACL* dacl) {
  std::vector<Ace> aces;
  return ReadAces(dacl, &aces);
}

TEST(ProtectedFolderTest, FolderOnlyAdministratorsAndSystemCanWrite) {
  PSECURITY_DESCRIPTOR requested = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
      kProtectedFolderSecurity, SDDL_REVISION_1, &requested, nullptr));
  const ScopedLocalMemory owned_requested(requested);
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  ACL* requested_dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(requested, &present, &requested_dacl, &defaulted));
  ASSERT_TRUE(present);
  ExpectOnlyAdministratorsAndSystem(requested, requested_dacl);

  const FilePath scratch = testing::MakeScratchDir();
  const FilePath source = scratch.Append(u"setup.exe");
  ASSERT_TRUE(WriteWholeFile(source, "archive bytes"));
  std::unique_ptr<ProtectedFolder> copy = ProtectedFolder::Create(scratch);
  ASSERT_TRUE(copy);
  {
    const ScopedHandle in(CreateFileW(AsWide(source.value()), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    const ProtectedFolder::File* file = copy->AddCopy(in.get(), u"setup.exe", GENERIC_READ);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->size, 13u);
    EXPECT_EQ(ReadFileWithLimit(file->path, 100), std::string("archive bytes"));
  }

  PSECURITY_DESCRIPTOR applied = nullptr;
  ACL* applied_dacl = nullptr;
  ASSERT_EQ(GetNamedSecurityInfoW(AsWide(copy->path().value()), SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION, nullptr, nullptr, &applied_dacl,
                                  nullptr, &applied),
            static_cast<DWORD>(ERROR_SUCCESS));
  const ScopedLocalMemory owned_applied(applied);
  LPWSTR text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorW(applied, SDDL_REVISION_1,
                                                       DACL_SECURITY_INFORMATION, &text, nullptr);
  std::printf("folder security as read back: %ls\n", text ? text : L"(none)");
  LocalFree(text);
  const FilePath folder = copy->path();
  const bool kept = FileSystemKeepsAccessLists(applied_dacl);
  if (kept) ExpectOnlyAdministratorsAndSystem(applied, applied_dacl);

  copy.reset();
  EXPECT_FALSE(PathExists(folder));
  EXPECT_TRUE(PathExists(source));
  DeletePathRecursively(scratch);
  if (!kept) GTEST_SKIP() << "this file system does not keep access lists (Wine)";
}

}  // namespace
}  // namespace lite

namespace lite {
namespace {

// Names come from paths another process chose: whatever they say, every
// copy lands in the folder itself, under a name no other copy has.
TEST(ProtectedFolderTest, NamesStayInsideTheFolderAndApart) {
  const FilePath scratch = testing::MakeScratchDir();
  const FilePath source = scratch.Append(u"source");
  ASSERT_TRUE(WriteWholeFile(source, "bytes"));
  std::unique_ptr<ProtectedFolder> folder = ProtectedFolder::Create(scratch);
  ASSERT_TRUE(folder);
  struct Case {
    std::u16string name;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"master_preferences", u"master_preferences"},
      {u"MASTER_PREFERENCES", u"1_MASTER_PREFERENCES"},
      {u"..", u"file"},
      {u"a\\..\\b", u"1_file"},
      {u"c:evil", u"2_file"},
      {u"x.ico:stream", u"3_file"},
      {u"trailing.", u"4_file"},
      {u"line\nbreak", u"5_file"},
      {u"", u"6_file"},
  };
  std::vector<FilePath> made;
  for (const Case& c : cases) {
    const ScopedHandle in(CreateFileW(AsWide(source.value()), GENERIC_READ, FILE_SHARE_READ,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    const ProtectedFolder::File* file = folder->AddCopy(in.get(), c.name, GENERIC_READ);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->path.DirName().value(), folder->path().value());
    EXPECT_EQ(file->path.BaseName(), c.expected);
    EXPECT_EQ(ReadFileWithLimit(file->path, 100), std::string("bytes"));
    made.push_back(file->path);
  }
  folder.reset();
  for (const FilePath& path : made) EXPECT_FALSE(PathExists(path));
  DeletePathRecursively(scratch);
}

}  // namespace
}  // namespace lite
