// The signatures of a file as WinVerifyTrust sees them, for the signature
// walk of VerifyModuleImpl.
#ifndef TRUST_AUTHENTICODE_SIGNATURE_SOURCE_WIN_H_
#define TRUST_AUTHENTICODE_SIGNATURE_SOURCE_WIN_H_

#include <windows.h>

#include <string>

#include "base/file_path.h"
#include "trust/signature_source.h"
#include "trust/wintrust_compat_win.h"

namespace lite {

// True when the running Windows is older than Windows 10, where a
// signature whose chain fails gets a hash-only second try.
bool IsExtendedCheckNeeded();

class AuthenticodeSignatureSource : public SignatureSource {
 public:
  // With |file| (not owned), WinVerifyTrust reads that open file; |path|
  // then only names it.
  explicit AuthenticodeSignatureSource(const FilePath& path, HANDLE file = nullptr);
  AuthenticodeSignatureSource(const AuthenticodeSignatureSource&) = delete;
  AuthenticodeSignatureSource& operator=(const AuthenticodeSignatureSource&) = delete;
  ~AuthenticodeSignatureSource() override;

  // WinVerifyTrust under a structured-exception guard. A signature it
  // accepts whose chain still ends in an untrusted root, or does not reach
  // one, fails with the error Windows gives such a chain (Wine reports
  // success for it).
  SignatureCheck Verify(uint32_t index, bool hash_only) override;
  uint32_t SecondarySignatureCount() const override { return settings_.cSecondarySigs; }
  bool ExtractCertParams(CertParams* params) override;
  bool IsExtendedCheckNeeded() const override { return ::lite::IsExtendedCheckNeeded(); }
  void Close() override;

 private:
  // The error for the signer's chain, 0 when nothing is wrong with it.
  LONG ChainError() const;

  const FilePath path_;
  WINTRUST_FILE_INFO file_ = {};
  WINTRUST_SIGNATURE_SETTINGS settings_ = {};
  WintrustDataWithSettings request_ = {};
};

}  // namespace lite

#endif  // TRUST_AUTHENTICODE_SIGNATURE_SOURCE_WIN_H_
