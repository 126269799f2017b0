// Loading a library of Windows' own from the system folder and nowhere
// else, whatever the DLL search order of the process is.
#ifndef CRASH_SYSTEM_LIBRARY_WIN_H_
#define CRASH_SYSTEM_LIBRARY_WIN_H_

#include <windows.h>

namespace lite {

enum class SystemLibrarySearch {
  // LOAD_LIBRARY_SEARCH_SYSTEM32: the loader looks in the system folder
  // only, for the library and for what it imports.
  kLoaderFlag,
  // The library's full path in the system folder, its imports searched from
  // there first (LOAD_WITH_ALTERED_SEARCH_PATH), for systems whose loader
  // lacks the flag.
  kFullPath,
};

// The loader flag when the system has it (it came with the function
// AddDllDirectory), else the full path.
SystemLibrarySearch DefaultSystemLibrarySearch();

// |name| (a file name such as L"dbghelp.dll") from the system folder; null
// when it is not there or does not load.
HMODULE LoadSystemLibrary(const wchar_t* name,
                          SystemLibrarySearch search = DefaultSystemLibrarySearch());

}  // namespace lite

#endif  // CRASH_SYSTEM_LIBRARY_WIN_H_
