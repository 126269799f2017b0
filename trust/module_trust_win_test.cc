// The pipeline on real modules under Wine: small programs built with trust
// resources and signed with osslsigncode (trust/CMakeLists.txt), and copies
// of them with resources rewritten by UpdateResourceW.
#include "trust/module_trust_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/file_util_win.h"
#include "base/registry_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "logging/recording_logger_for_testing.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

FilePath ModulePath(const std::u16string& name) {
  return FilePath(UTF8ToUTF16(TL_TRUST_MODULE_DIR)).Append(name);
}

std::string ReadAll(const FilePath& path) {
  return ReadFileWithLimit(path, 1 << 20).value_or(std::string());
}

// Replaces (or with empty |bytes| deletes) one resource of |module|, in
// the language windres gives resources.
bool RewriteResource(const FilePath& module, const wchar_t* type, const wchar_t* name,
                     const std::string& bytes) {
  HANDLE update = BeginUpdateResourceW(AsWide(module.value()), FALSE);
  if (!update) return false;
  const bool updated = UpdateResourceW(
      update, type, name, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
      bytes.empty() ? nullptr : const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  return EndUpdateResourceW(update, !updated) && updated;
}

int VerifyInChild(const std::vector<std::u16string>& args) {
  std::vector<LogRecord> records;
  SetGlobalLogger(std::make_unique<RecordingLogger>(&records));
  const bool accepted = VerifyDownloadedModule(FilePath(args.at(0)));
  SetGlobalLogger(nullptr);
  return (accepted ? 1 : 0) +
         (HasRecord(records, "Start additional sha256 verification. ", "VerifyModuleImpl") ? 2
                                                                                           : 0) +
         (HasRecord(records, "Extended verification success. ", "VerifyModuleImpl") ? 4 : 0);
}
TL_CHILD_PROCESS("verify-downloaded-module", VerifyInChild);

class ModuleTrustTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGlobalLogger(std::make_unique<RecordingLogger>(&records_)); }
  void TearDown() override {
    SetGlobalLogger(nullptr);
    if (!scratch_.empty()) DeletePathRecursively(scratch_);
  }

  bool Logged(const std::string& message, const std::string& function) const {
    return HasRecord(records_, message, function);
  }
  bool LoggedAnything(const std::string& message) const {
    for (const LogRecord& r : records_) {
      if (r.message.find(message) != std::string::npos) return true;
    }
    return false;
  }

  // A copy of the unsigned listed module in a scratch folder.
  FilePath CopyOfListedModule(const std::u16string& name) {
    if (scratch_.empty()) scratch_ = testing::MakeScratchDir();
    const FilePath copy = scratch_.Append(name);
    EXPECT_TRUE(CopyFileW(AsWide(ModulePath(u"trust_module_listed.exe").value()),
                          AsWide(copy.value()), FALSE));
    return copy;
  }

  std::vector<LogRecord> records_;
  FilePath scratch_;
};

TEST_F(ModuleTrustTest, ListedSha256SignatureIsAccepted) {
  const FilePath module = ModulePath(u"trust_module_listed_signed.exe");
  const std::string document = ReadAll(ModulePath(u"trust_module_listed_trust\\TRUSTED.JSON"));
  ASSERT_FALSE(document.empty());
  EXPECT_EQ(GetTrustJsonFromModule(module), document);

  EXPECT_TRUE(VerifyDownloadedModule(module));
  const std::string path = UTF16ToUTF8(module.value());
  EXPECT_TRUE(Logged("Verifying " + path, "VerifyModule"));
  EXPECT_TRUE(Logged("File successfully verified with sha256. " + path, "VerifyModuleImpl"));
  EXPECT_FALSE(LoggedAnything("KNOWN_ERROR"));
}

ScopedHandle OpenDenyingWriteAndDelete(const FilePath& path) {
  return ScopedHandle(CreateFileW(AsWide(path.value()), GENERIC_READ | GENERIC_EXECUTE,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

// What is checked is the open file, whatever its path names: the elevated
// copy runs exactly what it verified.
TEST_F(ModuleTrustTest, OpenFileIsVerifiedThroughItsHandle) {
  const FilePath listed = ModulePath(u"trust_module_listed_signed.exe");
  const FilePath bare = ModulePath(u"trust_module_bare.exe");
  const ScopedHandle listed_file = OpenDenyingWriteAndDelete(listed);
  const ScopedHandle bare_file = OpenDenyingWriteAndDelete(bare);
  ASSERT_TRUE(listed_file.is_valid() && bare_file.is_valid());
  const std::string document = ReadAll(ModulePath(u"trust_module_listed_trust\\TRUSTED.JSON"));

  EXPECT_TRUE(VerifyDownloadedModuleFile(listed, listed_file.get()));
  EXPECT_EQ(GetTrustJsonFromModuleFile(bare, listed_file.get()), document);
  EXPECT_TRUE(VerifyDownloadedModuleFile(bare, listed_file.get()));
  EXPECT_EQ(GetTrustJsonFromModuleFile(listed, bare_file.get()), "");
  EXPECT_FALSE(VerifyDownloadedModuleFile(listed, bare_file.get()));

  // Held so, the file can be neither written, replaced nor deleted.
  scratch_ = testing::MakeScratchDir();
  const FilePath held = scratch_.Append(u"held.exe");
  const FilePath other = scratch_.Append(u"other.exe");
  ASSERT_TRUE(CopyFileW(AsWide(listed.value()), AsWide(held.value()), FALSE));
  ASSERT_TRUE(CopyFileW(AsWide(bare.value()), AsWide(other.value()), FALSE));
  const ScopedHandle held_file = OpenDenyingWriteAndDelete(held);
  ASSERT_TRUE(held_file.is_valid());
  const ScopedHandle writer(CreateFileW(AsWide(held.value()), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(writer.is_valid());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(MoveFileExW(AsWide(other.value()), AsWide(held.value()), MOVEFILE_REPLACE_EXISTING));
  EXPECT_FALSE(DeleteFileW(AsWide(held.value())));
  EXPECT_TRUE(VerifyDownloadedModuleFile(held, held_file.get()));
}

TEST_F(ModuleTrustTest, UnlistedSignerWrongKeyDigestAndMissingSignatureAreRejected) {
  const FilePath not_listed = ModulePath(u"trust_module_not_listed_signed.exe");
  EXPECT_FALSE(VerifyDownloadedModule(not_listed));
  EXPECT_TRUE(Logged("Can not find sertificate in trusted list. " + UTF16ToUTF8(not_listed.value()),
                     "VerifyModuleImpl"));
  EXPECT_TRUE(Logged("KNOWN_ERROR_untrusted_certificate", "VerifyModuleImpl"));

  // Listed twice: the first entry, with another key's digest, decides.
  records_.clear();
  const FilePath wrong_digest = ModulePath(u"trust_module_wrong_key_digest_signed.exe");
  EXPECT_FALSE(VerifyDownloadedModule(wrong_digest));
  EXPECT_TRUE(
      Logged("Public key is not match. " + UTF16ToUTF8(wrong_digest.value()), "VerifyModuleImpl"));
  EXPECT_TRUE(Logged("SHA256 verification failed. ", "VerifyModuleImpl"));

  records_.clear();
  const FilePath unsigned_module = ModulePath(u"trust_module_listed.exe");
  EXPECT_FALSE(GetTrustJsonFromModule(unsigned_module).empty());
  EXPECT_FALSE(VerifyDownloadedModule(unsigned_module));
  EXPECT_TRUE(Logged("Can not find any trusted certificates. ", "VerifyModuleImpl"));
  EXPECT_FALSE(LoggedAnything("additional sha256"));  // Windows 10: no second try
}

TEST_F(ModuleTrustTest, BrokenTrustResourcesRejectTheModuleBeforeAnyAuthenticodeCheck) {
  const std::string signature = ReadAll(ModulePath(u"trust_module_listed_trust\\SIGNATURE.DAT"));
  const std::string document = ReadAll(ModulePath(u"trust_module_listed_trust\\TRUSTED.JSON"));
  ASSERT_EQ(signature.size(), 130u);
  ASSERT_EQ(signature[0], 0);
  std::string tampered_document = document;
  tampered_document[tampered_document.size() - 3] ^= 1;
  struct Case {
    const wchar_t* type;
    const wchar_t* name;
    std::string bytes;
    const char* line;
  };
  const Case cases[] = {
      {L"SIGNATURE_DAT", L"SIGNATURE.DAT", signature.substr(0, 2),
       "Cannot find resource SIGNATURE_DAT"},
      {L"SIGNATURE_DAT", L"SIGNATURE.DAT", "\x0a" + signature.substr(1), "Cannot find key"},
      {L"SIGNATURE_DAT", L"SIGNATURE.DAT", "\x01" + signature.substr(1), "Verify error"},
      {L"TRUSTED_JSON", L"TRUSTED.JSON", tampered_document, "Verify error"},
  };
  int n = 0;
  for (const Case& c : cases) {
    records_.clear();
    const FilePath copy =
        CopyOfListedModule(u"broken" + UTF8ToUTF16(std::to_string(n++)) + u".exe");
    ASSERT_TRUE(RewriteResource(copy, c.type, c.name, c.bytes)) << c.line;
    EXPECT_EQ(GetTrustJsonFromModule(copy), "") << c.line;
    EXPECT_TRUE(Logged(c.line, "GetTrustJsonFromModule")) << c.line;
    EXPECT_FALSE(VerifyDownloadedModule(copy)) << c.line;
    EXPECT_TRUE(Logged("Failed to read json : ", "GetTrustedFiles")) << c.line;
    EXPECT_FALSE(LoggedAnything("KNOWN_ERROR")) << c.line;  // the walk never started
    if (c.line == std::string("Verify error")) {
      EXPECT_TRUE(Logged("CryptVerifySignature failed ", "VerifySignature"));
    }
  }

  records_.clear();
  EXPECT_FALSE(VerifyDownloadedModule(FilePath(u"trust_module_listed.exe")));
  EXPECT_TRUE(
      Logged("Attempting to GetTrustJsonFromModule at an invalid path: "
             "trust_module_listed.exe",
             "GetTrustJsonFromModule"));
  EXPECT_EQ(GetTrustJsonFromModule(ModulePath(u"missing.exe")), "");
  EXPECT_TRUE(Logged("Failed to load module for GetTrustJsonFromModule: " +
                         UTF16ToUTF8(ModulePath(u"missing.exe").value()) + " - 2, ",
                     "GetTrustJsonFromModule"));
  // A program without resources, and one with only SIGNATURE.DAT (Wine's
  // UpdateResourceW does not delete resources).
  EXPECT_EQ(GetTrustJsonFromModule(ModulePath(u"trust_module_bare.exe")), "");
  EXPECT_TRUE(Logged("Cannot find resource SIGNATURE_DAT - ", "GetTrustJsonFromModule"));
  records_.clear();
  const FilePath signature_only = scratch_.Append(u"signature_only.exe");
  ASSERT_TRUE(CopyFileW(AsWide(ModulePath(u"trust_module_bare.exe").value()),
                        AsWide(signature_only.value()), FALSE));
  ASSERT_TRUE(RewriteResource(signature_only, L"SIGNATURE_DAT", L"SIGNATURE.DAT", signature));
  EXPECT_EQ(GetTrustJsonFromModule(signature_only), "");
  EXPECT_TRUE(Logged("Cannot find resource TRUSTED_JSON - ", "GetTrustJsonFromModule"));
}

// Sets the size that |module|'s directory gives resource |type|/|name|, and
// its address (relative to the image) when |rva| is given.
bool PatchResourceEntry(const FilePath& module, const wchar_t* type, const wchar_t* name,
                        std::optional<DWORD> rva, DWORD size) {
  DWORD offset = 0;
  {
    // Mapped as a plain file, the directory entry's address is its offset.
    ScopedLibrary mapped(
        LoadLibraryExW(AsWide(module.value()), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    HRSRC entry = mapped ? FindResourceW(mapped.get(), name, type) : nullptr;
    if (!entry) return false;
    const auto base = reinterpret_cast<uintptr_t>(mapped.get()) & ~uintptr_t{3};
    offset = static_cast<DWORD>(reinterpret_cast<uintptr_t>(entry) - base);
  }
  ScopedHandle file(CreateFileW(AsWide(module.value()), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                0, nullptr));
  const auto write_at = [&](DWORD at, DWORD value) {
    DWORD written = 0;
    return SetFilePointer(file.get(), at, nullptr, FILE_BEGIN) == at &&
           WriteFile(file.get(), &value, sizeof(value), &written, nullptr) &&
           written == sizeof(value);
  };
  return file.is_valid() &&
         (!rva || write_at(offset + offsetof(IMAGE_RESOURCE_DATA_ENTRY, OffsetToData), *rva)) &&
         write_at(offset + offsetof(IMAGE_RESOURCE_DATA_ENTRY, Size), size);
}

bool PatchResourceSize(const FilePath& module, const wchar_t* type, const wchar_t* name,
                       DWORD size) {
  return PatchResourceEntry(module, type, name, std::nullopt, size);
}

// The trust document of args[1] read by path ("path") or through the open
// file ("file"): 0 when it was refused as a resource out of bounds, 1 when
// a document came back, 2 when it was refused for another reason. A fault
// while reading shows as the exception's code.
int TrustJsonInChild(const std::vector<std::u16string>& args) {
  std::vector<LogRecord> records;
  SetGlobalLogger(std::make_unique<RecordingLogger>(&records));
  const FilePath module(args.at(1));
  std::string document;
  if (args.at(0) == u"file") {
    const ScopedHandle file(CreateFileW(AsWide(module.value()), GENERIC_READ | GENERIC_EXECUTE,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    document = GetTrustJsonFromModuleFile(module, file.get());
  } else {
    document = GetTrustJsonFromModule(module);
  }
  SetGlobalLogger(nullptr);
  if (!document.empty()) return 1;
  return HasRecord(records, "Cannot find resource TRUSTED_JSON - 13, ", "GetTrustJsonFromModule")
             ? 0
             : 2;
}
TL_CHILD_PROCESS("trust-json", TrustJsonInChild);

// A crafted directory entry may place the document anywhere: the copy must
// refuse it unread rather than fault or read another mapping's bytes.
TEST_F(ModuleTrustTest, ResourcePlacedOutsideTheImageIsRefusedUnread) {
  const std::string document = ReadAll(ModulePath(u"trust_module_listed_trust\\TRUSTED.JSON"));
  ASSERT_FALSE(document.empty());
  const DWORD size = static_cast<DWORD>(document.size());
  // SizeOfImage, at the same offset in PE32 and PE32+ headers.
  const std::string image = ReadAll(ModulePath(u"trust_module_listed.exe"));
  ASSERT_GT(image.size(), 0x40u);
  LONG nt_offset = 0;
  memcpy(&nt_offset, image.data() + offsetof(IMAGE_DOS_HEADER, e_lfanew), sizeof(nt_offset));
  const size_t size_of_image_at = static_cast<size_t>(nt_offset) +
                                  offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                                  offsetof(IMAGE_OPTIONAL_HEADER32, SizeOfImage);
  ASSERT_LT(size_of_image_at + 4, image.size());
  DWORD image_size = 0;
  memcpy(&image_size, image.data() + size_of_image_at, sizeof(image_size));
  ASSERT_GT(image_size, 0x1000u);
  struct Case {
    const char* what;
    std::optional<DWORD> rva;
    DWORD size;
    int child_result;
  };
  const Case cases[] = {
      {"unchanged", std::nullopt, size, 1},
      {"far past the image's end", 0x7FFF0000, size, 0},
      {"just past the image's end", image_size, size, 0},
      {"across the image's end", image_size - 16, size, 0},
      {"an address and size that wrap around", 0xFFFFFF00, 0x200, 0},
      {"the whole address space", 0x1000, 0xFFFFFFFF, 0},
  };
  int n = 0;
  for (const Case& c : cases) {
    const FilePath copy = CopyOfListedModule(u"placed" + UTF8ToUTF16(std::to_string(n++)) + u".exe");
    ASSERT_TRUE(PatchResourceEntry(copy, L"TRUSTED_JSON", L"TRUSTED.JSON", c.rva, c.size)) << c.what;
    for (const char16_t* way : {u"path", u"file"}) {
      EXPECT_EQ(testing::RunChild("trust-json", {way, copy.value()}), c.child_result)
          << c.what << " by " << UTF16ToUTF8(way);
    }
  }
}

TEST_F(ModuleTrustTest, ResourceLargerThanTheModuleIsRefusedUnread) {
  const FilePath module = CopyOfListedModule(u"oversized.exe");
  ASSERT_TRUE(PatchResourceSize(module, L"TRUSTED_JSON", L"TRUSTED.JSON", 0x4000000));
  EXPECT_EQ(GetTrustJsonFromModule(module), "");
  EXPECT_TRUE(Logged("Cannot find resource TRUSTED_JSON - 13, ", "GetTrustJsonFromModule"));
}

// The hash-only retry before Windows 10 is for algorithms the system does
// not know; a chain that ends in an untrusted root is refused there too.
TEST_F(ModuleTrustTest, UntrustedRootIsRefusedOnWindows10AndOnWindows7) {
  const FilePath module = ModulePath(u"trust_module_untrusted_chain_signed.exe");
  EXPECT_FALSE(VerifyDownloadedModule(module));
  EXPECT_TRUE(LoggedAnything("is not trusted, chain status "));
  EXPECT_TRUE(Logged("KNOWN_ERROR_untrusted_certificate", "VerifyModuleImpl"));

  // Wine reports another Windows version to one executable name.
  scratch_ = testing::MakeScratchDir();
  const FilePath copy = scratch_.Append(u"trust_tests_on_win7.exe");
  ASSERT_TRUE(CopyFileW(AsWide(GetExecutablePath().value()), AsWide(copy.value()), FALSE));
  RegistryKey app_defaults;
  ASSERT_EQ(
      app_defaults.Create(HKEY_CURRENT_USER,
                          u"Software\\Wine\\AppDefaults\\trust_tests_on_win7.exe", KEY_SET_VALUE),
      ERROR_SUCCESS);
  ASSERT_EQ(app_defaults.WriteString(u"Version", u"win7"), ERROR_SUCCESS);
  Process child = LaunchProcess(testing::JoinCommandLine(
      {copy.value(), u"--child=verify-downloaded-module", module.value()}));
  ASSERT_TRUE(child.is_valid());
  int code = 0;
  ASSERT_TRUE(child.WaitForExit(60000, &code));
  EXPECT_EQ(code, 0);  // refused, without a hash-only check
}

}  // namespace
}  // namespace lite
