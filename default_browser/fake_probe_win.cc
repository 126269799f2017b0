// A stand-in probe copy for the tests of the interface probe: started with
// "--check-the-interface", it does what TOLVAR_FAKE_PROBE says: "exit=N",
// "crash" (a write to address 0) or "hang".
#include <windows.h>

#include <cwchar>
#include <cstdlib>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 || std::wcscmp(argv[1], L"--check-the-interface") != 0) return 2;
  wchar_t behaviour[64] = {};
  GetEnvironmentVariableW(L"TOLVAR_FAKE_PROBE", behaviour, 64);
  if (std::wcsncmp(behaviour, L"exit=", 5) == 0) return std::wcstol(behaviour + 5, nullptr, 10);
  if (std::wcscmp(behaviour, L"crash") == 0) {
    // No debugger and no error box: the process just ends with the code.
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
  }
  if (std::wcscmp(behaviour, L"hang") == 0) Sleep(INFINITE);
  return 3;
}
