#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
#include "logging/system_error_win.h"
#include "trust/module_image_range_win.h"
#include "trust/module_trust_win.h"
#include "trust/signature_checker_win.h"
#include "trust/trusted_keys.h"

namespace lite {
namespace {

// The bytes of a resource of |module|, valid while it stays loaded; false
// with the Windows error of the call that failed, or ERROR_INVALID_DATA
// when the resource's bytes are not all readable inside the module's image:
// its directory, which nothing has vouched for yet, gives their place and
// size.
bool FindModuleResource(HMODULE module, const wchar_t* type, const wchar_t* name,
                        std::string_view* bytes, DWORD* error) {
  HRSRC resource = FindResourceW(module, name, type);
  HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) {
    *error = GetLastError();
    return false;
  }
  const DWORD size = SizeofResource(module, resource);
  if (!IsReadableImageRange(module, data, size)) {
    *error = ERROR_INVALID_DATA;
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  *bytes = std::string_view(static_cast<const char*>(data), size);
  return true;
}

// The TRUSTED.JSON bytes of a module mapped as an image, once its
// SIGNATURE.DAT verifies. Named as the operation it logs for.
std::string GetTrustJsonFromModule(HMODULE module) {
  std::string_view signature;
  DWORD error = 0;
  if (!FindModuleResource(module, L"SIGNATURE_DAT", L"SIGNATURE.DAT", &signature, &error)) {
    PLOG_CODE(ERROR, error) << "Cannot find resource "
                            << "SIGNATURE_DAT";
    return std::string();
  }
  // A key number and at least one byte of signature.
  if (signature.size() <= 2) {
    LOG(ERROR) << "Cannot find resource "
               << "SIGNATURE_DAT";
    return std::string();
  }
  std::string_view trust_json;
  if (!FindModuleResource(module, L"TRUSTED_JSON", L"TRUSTED.JSON", &trust_json, &error)) {
    PLOG_CODE(ERROR, error) << "Cannot find resource "
                            << "TRUSTED_JSON";
    return std::string();
  }
  if (trust_json.empty()) {
    LOG(ERROR) << "Cannot find resource "
               << "TRUSTED_JSON";
    return std::string();
  }
  const int key_number =
      static_cast<unsigned char>(signature[0]) | static_cast<unsigned char>(signature[1]) << 8;
  const std::optional<std::string> key = DecodeTrustedKey(key_number);
  if (!key) {
    LOG(ERROR) << "Cannot find key";
    return std::string();
  }
  SignatureChecker checker;
  const bool verified = checker.Check(signature.substr(2), *key, trust_json);
  checker.Cleanup();
  if (!verified) {
    LOG(ERROR) << "Verify error";
    return std::string();
  }
  return std::string(trust_json);
}

}  // namespace

std::string GetTrustJsonFromModule(const FilePath& module_path) {
  if (!module_path.IsAbsolute()) {
    LOG(ERROR) << "Attempting to GetTrustJsonFromModule at an invalid path: " << module_path;
    return std::string();
  }
  // As data only: nothing of the module runs, and it is not bound as a DLL.
  ScopedLibrary module(LoadLibraryExW(AsWide(module_path.value()), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!module) {
    PLOG(ERROR) << "Failed to load module for GetTrustJsonFromModule: " << module_path;
    return std::string();
  }
  return GetTrustJsonFromModule(module.get());
}

std::string GetTrustJsonFromModuleFile(const FilePath& module_path, HANDLE file) {
  // Mapped as an image, as the loader maps a resource-only module; the
  // resource functions take the view's address as the module.
  const ScopedHandle mapping(
      CreateFileMappingW(file, nullptr, PAGE_READONLY | SEC_IMAGE, 0, 0, nullptr));
  const ScopedMappedView view(mapping ? MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0)
                                      : nullptr);
  if (!view) {
    PLOG_FROM(ERROR, "GetTrustJsonFromModule")
        << "Failed to load module for GetTrustJsonFromModule: " << module_path;
    return std::string();
  }
  return GetTrustJsonFromModule(static_cast<HMODULE>(const_cast<void*>(view.get())));
}

}  // namespace lite
