// Windows 8 extended WINTRUST_DATA with a signature selection that MinGW's
// wintrust.h does not declare yet: the structure and flags as the Windows
// SDK lays them out, and WINTRUST_DATA with the member that points to it.
#ifndef TRUST_WINTRUST_COMPAT_WIN_H_
#define TRUST_WINTRUST_COMPAT_WIN_H_

#include <windows.h>
// In this order: windows.h leaves wincrypt.h out under WIN32_LEAN_AND_MEAN
// and wintrust.h needs it.
#include <wincrypt.h>
#include <wintrust.h>

#include <cstddef>

#ifndef WSS_VERIFY_SPECIFIC
#define WSS_VERIFY_SPECIFIC 0x00000001
#define WSS_GET_SECONDARY_SIG_COUNT 0x00000002

typedef struct WINTRUST_SIGNATURE_SETTINGS_ {
  DWORD cbStruct;
  DWORD dwIndex;             // the signature to verify with WSS_VERIFY_SPECIFIC
  DWORD dwFlags;
  DWORD cSecondarySigs;      // out: signatures besides the primary one
  DWORD dwVerifiedSigIndex;  // out
  PCERT_STRONG_SIGN_PARA pCryptoPolicy;
} WINTRUST_SIGNATURE_SETTINGS, *PWINTRUST_SIGNATURE_SETTINGS;
#endif

namespace lite {

// WINTRUST_DATA of Windows 8 and later; cbStruct = sizeof(this) tells
// WinVerifyTrust that pSignatureSettings is there.
struct WintrustDataWithSettings {
  WINTRUST_DATA data;
  WINTRUST_SIGNATURE_SETTINGS* pSignatureSettings;
};

// pSignatureSettings follows dwUIContext exactly as in the SDK's structure.
static_assert(offsetof(WintrustDataWithSettings, pSignatureSettings) ==
                  (sizeof(void*) == 8 ? 80 : 48),
              "WINTRUST_DATA layout");

}  // namespace lite

#endif  // TRUST_WINTRUST_COMPAT_WIN_H_
