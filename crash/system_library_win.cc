#include "crash/system_library_win.h"

#include <cwchar>

namespace lite {

SystemLibrarySearch DefaultSystemLibrarySearch() {
  return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory")
             ? SystemLibrarySearch::kLoaderFlag
             : SystemLibrarySearch::kFullPath;
}

HMODULE LoadSystemLibrary(const wchar_t* name, SystemLibrarySearch search) {
  if (search == SystemLibrarySearch::kLoaderFlag) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  wchar_t path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  const size_t name_length = std::wcslen(name);
  if (length == 0 || length + 1 + name_length >= MAX_PATH) return nullptr;
  path[length] = L'\\';
  std::wmemcpy(path + length + 1, name, name_length + 1);
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace lite
