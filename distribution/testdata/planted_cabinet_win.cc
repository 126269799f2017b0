// A stand-in cabinet.dll planted where an expanded %WINDIR% points. Loading
// it is the fault under test: it leaves "<its own path>.loaded" behind, so
// the test sees the load even though the module offers none of FDI's
// functions.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t marker[MAX_PATH + 8];
  const DWORD length = GetModuleFileNameW(module, marker, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  lstrcpyW(marker + length, L".loaded");
  const HANDLE file =
      CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return TRUE;
}
