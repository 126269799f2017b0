#ifndef INSTALLER_RUN_SECURE_DLL_LOADING_WIN_H_
#define INSTALLER_RUN_SECURE_DLL_LOADING_WIN_H_

namespace lite {

enum class SecureDllResult {
  kInsecure,       // a protected copy reported -200 or could not be waited for
  kNotSecured,     // no hardening possible; continue in place
  kSecured,        // search path hardened, or a copy whose directory is clean
  kDllFilesFound,  // a copy whose directory holds "*.dll" files
  kDelegated,      // a protected copy ran the whole installation
};

// Removes the current and application directories from the DLL search
// order. On systems without SetDefaultDllDirectories the installer restarts
// itself from a fresh temporary directory instead. |exit_code| is set for
// kInsecure and kDelegated.
SecureDllResult SecureDllLoading(int* exit_code);

}  // namespace lite

#endif  // INSTALLER_RUN_SECURE_DLL_LOADING_WIN_H_
