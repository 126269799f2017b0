// The installer signed with the test certificate and stamped by the tag
// tool: Windows still trusts its signature, and a silent run hands the tag's
// parameters to setup.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "stats/setup_registry_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

struct StoreTraits {
  static HCERTSTORE Invalid() { return nullptr; }
  static bool IsValid(HCERTSTORE store) { return store != nullptr; }
  static void Close(HCERTSTORE store) { CertCloseStore(store, 0); }
};
using ScopedCertStore = ScopedGeneric<StoreTraits>;

const FilePath kSignedExe(UTF8ToUTF16(TL_SIGNED_INSTALLER_EXE));
const FilePath kTaggedExe(UTF8ToUTF16(TL_TAGGED_INSTALLER_EXE));

// Puts the development root into the machine ROOT store of this prefix, as
// a user's machine holds the real one. scripts/prepare-prefix does this for
// new prefixes; older ones get it here. Adding it again is a no-op.
bool TrustTestRoot() {
  const std::optional<std::string> pem =
      ReadFileWithLimit(FilePath(UTF8ToUTF16(TL_TEST_ROOT_CA_PEM)), 1 << 16);
  if (!pem) return false;
  DWORD size = 0;
  if (!CryptStringToBinaryA(pem->data(), static_cast<DWORD>(pem->size()),
                            CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
    return false;
  }
  std::string der(size, '\0');
  if (!CryptStringToBinaryA(pem->data(), static_cast<DWORD>(pem->size()),
                            CRYPT_STRING_BASE64HEADER, reinterpret_cast<BYTE*>(der.data()),
                            &size, nullptr, nullptr)) {
    return false;
  }
  ScopedCertStore root(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0,
                                     CERT_SYSTEM_STORE_LOCAL_MACHINE, L"ROOT"));
  return root.is_valid() &&
         CertAddEncodedCertificateToStore(root.get(), X509_ASN_ENCODING,
                                          reinterpret_cast<const BYTE*>(der.data()), size,
                                          CERT_STORE_ADD_USE_EXISTING, nullptr);
}

struct Verdict {
  LONG result = -1;
  // Of the signer's chain: Wine 8 reports an untrusted root here, not in
  // the result.
  DWORD chain_error = 0xFFFFFFFF;
  DWORD chain_length = 0;
};

Verdict VerifySignature(const FilePath& path) {
  WINTRUST_FILE_INFO file = {sizeof(file)};
  file.pcwszFilePath = AsWide(path.value());
  WINTRUST_DATA data = {sizeof(data)};
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_NONE;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &file;
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  Verdict verdict;
  verdict.result = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(data.hWVTStateData);
  CRYPT_PROVIDER_SGNR* signer =
      provider ? WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
  if (signer && signer->pChainContext) {
    verdict.chain_error = signer->pChainContext->TrustStatus.dwErrorStatus;
    verdict.chain_length = signer->csCertChain;
  }
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
  return verdict;
}

class TaggedInstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    temp_ = testing::MakeScratchDir();
    ASSERT_FALSE(temp_.empty());
  }
  void TearDown() override { DeletePathRecursively(temp_); }
  FilePath temp_;
};

TEST_F(TaggedInstallerTest, StampingKeepsTheSignatureTrusted) {
  ASSERT_TRUE(TrustTestRoot());
  // The chain is signer and root: the dummy certificate is never part of it.
  for (const FilePath& exe : {kSignedExe, kTaggedExe}) {
    const Verdict verdict = VerifySignature(exe);
    EXPECT_EQ(verdict.result, ERROR_SUCCESS);
    EXPECT_EQ(verdict.chain_error, 0u);
    EXPECT_EQ(verdict.chain_length, 2u);
  }

  // The check is real: an unsigned file and a changed byte are refused.
  EXPECT_EQ(VerifySignature(testing::InstallerExePath()).result, TRUST_E_NOSIGNATURE);
  std::string bytes = ReadFileWithLimit(kTaggedExe, 1 << 26).value_or("");
  ASSERT_GT(bytes.size(), 0x2000u);
  bytes[0x1000] ^= 1;
  const FilePath changed = temp_.Append(u"changed.exe");
  ASSERT_TRUE(WriteWholeFile(changed, bytes));
  EXPECT_EQ(VerifySignature(changed).result, TRUST_E_BAD_DIGEST);
}

TEST_F(TaggedInstallerTest, SilentRunHandsTheTagToSetup) {
  RemoveSetupValue(u"DistribInfoParams");
  LaunchOptions options;
  const std::u16string temp = temp_.value() + u"\\";
  options.environment = testing::EnvironmentWith({{u"TEMP", temp}, {u"TMP", temp}});
  Process process = LaunchProcess(testing::JoinCommandLine({kTaggedExe.value(), u"--silent"}),
                                  options);
  ASSERT_TRUE(process.is_valid());
  // The parameters are in place before the installation starts; the
  // download that follows cannot succeed here.
  EXPECT_TRUE(testing::WaitForFileText(temp_.Append(u"lite_installer.log"),
                                       "Installing in silent mode.", 30000));
  process.Terminate(1);
  process.WaitForExit(10000, nullptr);
  EXPECT_EQ(ReadFileWithLimit(temp_.Append(u"distrib_info"), 1 << 16),
            std::string(R"({"lang":"tr","x":"1"})"));
  EXPECT_EQ(ReadSetupValue(u"DistribInfoParams"), std::u16string(u"lang=tr&x=1"));
  const std::string log =
      ReadFileWithLimit(temp_.Append(u"lite_installer.log"), 1 << 22).value_or("");
  EXPECT_NE(log.find("Stored HKEY_CURRENT_USER\\Software\\Tolvar\\TolvarBrowser\\"
                     "DistribInfoParams = lang=tr&x=1 (StoreSetupValue:"),
            std::string::npos)
      << log;
  // Nothing went wrong before the installation started.
  const std::string before_install = log.substr(0, log.find("Installing in silent mode."));
  EXPECT_EQ(before_install.find("ERROR"), std::string::npos) << log;
  RemoveSetupValue(u"DistribInfoParams");
}

}  // namespace
}  // namespace lite
