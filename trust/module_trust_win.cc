#include "trust/module_trust_win.h"

#include "logging/log_message.h"
#include "trust/authenticode_signature_source_win.h"
#include "trust/verify_module_impl.h"

namespace lite {

bool VerifyDownloadedModule(const FilePath& module_path) {
  return VerifyModuleWithTrustJson(module_path, GetTrustJsonFromModule(module_path));
}

bool VerifyDownloadedModuleFile(const FilePath& module_path, HANDLE file) {
  const TrustVerifier verifier(GetTrustJsonFromModuleFile(module_path, file));
  LOG(INFO) << "Verifying " << module_path;
  AuthenticodeSignatureSource source(module_path, file);
  return VerifyModuleImpl(module_path, verifier, &source);
}

bool VerifyModuleWithTrustJson(const FilePath& module_path, const std::string& trust_json) {
  return VerifyModule(module_path, TrustVerifier(trust_json));
}

bool VerifyModule(const FilePath& module_path, const TrustVerifier& verifier) {
  LOG(INFO) << "Verifying " << module_path;
  AuthenticodeSignatureSource source(module_path);
  return VerifyModuleImpl(module_path, verifier, &source);
}

}  // namespace lite
