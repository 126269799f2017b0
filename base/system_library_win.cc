#include "base/system_library_win.h"

#include <cwchar>

namespace lite {
namespace {

// The loader takes the LOAD_LIBRARY_SEARCH_* flags exactly when kernel32
// exports AddDllDirectory (the documented way to tell); an older loader
// fails the call with ERROR_INVALID_PARAMETER instead.
bool LoaderHasSearchFlags() {
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  return kernel32 && GetProcAddress(kernel32, "AddDllDirectory") != nullptr;
}

}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
  if (LoaderHasSearchFlags()) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return LoadSystemLibraryByFullPath(name);
}

HMODULE LoadSystemLibraryByFullPath(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  const size_t name_length = wcslen(name);
  // The folder, a backslash, the name and its terminator.
  if (length == 0 || length + 1 + name_length >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return nullptr;
  }
  path[length] = L'\\';
  wmemcpy(path + length + 1, name, name_length + 1);
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace lite
