// Whether a downloaded module is the maker's: its trust document (TRUSTED.JSON,
// signed by a built-in key in SIGNATURE.DAT) lists the certificate of its
// Authenticode signature.
#ifndef TRUST_MODULE_TRUST_WIN_H_
#define TRUST_MODULE_TRUST_WIN_H_

#include <windows.h>

#include <string>

#include "base/file_path.h"
#include "trust/trust_verifier.h"

namespace lite {

// The whole pipeline: the module's own trust document, then its signatures.
bool VerifyDownloadedModule(const FilePath& module_path);
// The same with a given TRUSTED.JSON text.
bool VerifyModuleWithTrustJson(const FilePath& module_path, const std::string& trust_json);
// The signatures against a given verifier ("Verifying " line, then the walk).
bool VerifyModule(const FilePath& module_path, const TrustVerifier& verifier);
// The module's TRUSTED.JSON resource when its SIGNATURE.DAT resource
// verifies with the built-in key it names; empty on any failure.
std::string GetTrustJsonFromModule(const FilePath& module_path);

// The same pipeline on an open file, for a caller that runs exactly what
// it checked: the trust document is read through a mapping of |file| and
// the signatures are checked through |file|; nothing is opened by path.
// |module_path| names the file in log lines and for the system's lookups.
bool VerifyDownloadedModuleFile(const FilePath& module_path, HANDLE file);
std::string GetTrustJsonFromModuleFile(const FilePath& module_path, HANDLE file);

}  // namespace lite

#endif  // TRUST_MODULE_TRUST_WIN_H_
