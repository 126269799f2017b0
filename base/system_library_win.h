// Loading the system's own DLLs. Every other way to find one can be steered
// by the user: the search path starts in folders the user can write, and
// %WINDIR% and %SystemRoot% come from the environment, which
// HKCU\Environment sets. Only the loader's system-folder search and the
// folder the system itself reports are safe from that, also for a process
// running with administrator rights.
#ifndef BASE_SYSTEM_LIBRARY_WIN_H_
#define BASE_SYSTEM_LIBRARY_WIN_H_

#include <windows.h>

namespace lite {

// Loads |name| (a bare file name such as L"cabinet.dll") from the system
// folder: through LOAD_LIBRARY_SEARCH_SYSTEM32 where the loader knows that
// flag, otherwise as LoadSystemLibraryByFullPath does. Null, with the
// loader's error, when it cannot be loaded from there.
HMODULE LoadSystemLibrary(const wchar_t* name);

// Loads |name| by its full path in the folder GetSystemDirectoryW reports,
// its own dependencies searched from there first. For systems whose loader
// lacks the system-folder search flag (before the update that brought
// AddDllDirectory to Windows 7).
HMODULE LoadSystemLibraryByFullPath(const wchar_t* name);

}  // namespace lite

#endif  // BASE_SYSTEM_LIBRARY_WIN_H_
