#include "trust/authenticode_signature_source_win.h"

#include <softpub.h>

#include "base/structured_exception_guard_win.h"
#include "base/wide_string_win.h"
#include "base/windows_version_win.h"
#include "logging/log_message.h"

namespace lite {
namespace {

// Chain faults that keep a signature from being trusted, and the result
// Windows' own check gives each.
struct ChainFault {
  DWORD trust_error;
  LONG result;
};
constexpr ChainFault kChainFaults[] = {
    {CERT_TRUST_IS_UNTRUSTED_ROOT, CERT_E_UNTRUSTEDROOT},
    {CERT_TRUST_IS_PARTIAL_CHAIN, CERT_E_CHAINING},
    {CERT_TRUST_IS_CYCLIC, CERT_E_CHAINING},
    {CERT_TRUST_IS_NOT_SIGNATURE_VALID, TRUST_E_CERT_SIGNATURE},
    {CERT_TRUST_IS_REVOKED, CERT_E_REVOKED},
};

HWND NoInteractiveUser() { return static_cast<HWND>(INVALID_HANDLE_VALUE); }

}  // namespace

bool IsExtendedCheckNeeded() { return !GetWindowsVersion().IsWin10OrLater(); }

AuthenticodeSignatureSource::AuthenticodeSignatureSource(const FilePath& path, HANDLE file)
    : path_(path) {
  file_.cbStruct = sizeof(file_);
  file_.pcwszFilePath = AsWide(path_.value());
  file_.hFile = file;
  settings_.cbStruct = sizeof(settings_);
  settings_.dwFlags = WSS_VERIFY_SPECIFIC | WSS_GET_SECONDARY_SIG_COUNT;
  WINTRUST_DATA& data = request_.data;
  data.cbStruct = sizeof(request_);
  data.dwUIChoice = WTD_UI_NONE;
  data.fdwRevocationChecks = WTD_REVOKE_WHOLECHAIN;
  data.dwUnionChoice = WTD_CHOICE_FILE;
  data.pFile = &file_;
  data.dwUIContext = WTD_UICONTEXT_INSTALL;
  request_.pSignatureSettings = &settings_;
}

AuthenticodeSignatureSource::~AuthenticodeSignatureSource() { Close(); }

SignatureCheck AuthenticodeSignatureSource::Verify(uint32_t index, bool hash_only) {
  Close();
  settings_.dwIndex = index;
  WINTRUST_DATA& data = request_.data;
  data.dwProvFlags = WTD_REVOCATION_CHECK_CHAIN | (hash_only ? WTD_HASH_ONLY_FLAG : 0);
  data.dwStateAction = WTD_STATEACTION_VERIFY;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  LONG result = 0;
  StructuredException exception;
  // Nothing in the body owns anything: an exception may abandon its frame.
  const bool returned = RunWithExceptionGuard(
      [&] { result = WinVerifyTrust(NoInteractiveUser(), &action, &data); }, &exception);
  SignatureCheck check;
  if (!returned) {
    check.raised_exception = true;
    check.exception_code = exception.code;
    return check;
  }
  if (result == 0 && !hash_only) result = ChainError();
  check.result = result;
  return check;
}

LONG AuthenticodeSignatureSource::ChainError() const {
  CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(request_.data.hWVTStateData);
  CRYPT_PROVIDER_SGNR* signer =
      provider ? WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
  // Without a chain ExtractCertParams turns the signature down.
  if (!signer || !signer->pChainContext) return 0;
  const DWORD status = signer->pChainContext->TrustStatus.dwErrorStatus;
  for (const ChainFault& fault : kChainFaults) {
    if (status & fault.trust_error) {
      LOG_FROM(ERROR, "VerifyModuleImpl")
          << "The signing chain of " << path_ << " is not trusted, chain status " << status;
      return fault.result;
    }
  }
  return 0;
}

bool AuthenticodeSignatureSource::ExtractCertParams(CertParams* params) {
  CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(request_.data.hWVTStateData);
  if (!provider || provider->csSigners != 1) return false;
  CRYPT_PROVIDER_SGNR* signer = WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
  if (!signer || signer->csCertChain < 2) return false;
  CRYPT_PROVIDER_CERT* signing = WTHelperGetProvCertFromChain(signer, 0);
  CRYPT_PROVIDER_CERT* issuing = WTHelperGetProvCertFromChain(signer, 1);
  if (!signing || !signing->pCert || !issuing || !issuing->pCert) return false;

  const CERT_INFO& info = *signing->pCert->pCertInfo;
  const CRYPT_INTEGER_BLOB& issuer_serial = issuing->pCert->pCertInfo->SerialNumber;
  params->issuer_serial.assign(reinterpret_cast<const char*>(issuer_serial.pbData),
                               issuer_serial.cbData);
  params->signer_serial.assign(reinterpret_cast<const char*>(info.SerialNumber.pbData),
                               info.SerialNumber.cbData);
  params->signature_algorithm =
      info.SignatureAlgorithm.pszObjId ? info.SignatureAlgorithm.pszObjId : "";
  const CRYPT_BIT_BLOB& key = info.SubjectPublicKeyInfo.PublicKey;
  params->public_key.assign(reinterpret_cast<const char*>(key.pbData), key.cbData);
  params->public_key_unused_bits = key.cUnusedBits;
  return true;
}

void AuthenticodeSignatureSource::Close() {
  WINTRUST_DATA& data = request_.data;
  if (!data.hWVTStateData) return;
  data.dwStateAction = WTD_STATEACTION_CLOSE;
  GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
  StructuredException exception;
  RunWithExceptionGuard([&] { WinVerifyTrust(NoInteractiveUser(), &action, &data); }, &exception);
  data.hWVTStateData = nullptr;
}

}  // namespace lite
