/* Runs the rest of its command line as a Windows program, waits for it and
 * writes the program's whole 32-bit exit code, in decimal, to the file named
 * by TL_BED32_EXIT_CODE_FILE: Wine hands only the low byte to the Unix side.
 *   exit_code_launcher.exe program.exe [args...]
 * The program's words are passed on exactly as they were written. */
#include <windows.h>

#include <stdio.h>

/* The first word of a command line ends at the next quote when it starts
 * with one, else at the first blank; it has no escapes. */
static const wchar_t *SkipFirstWord(const wchar_t *line) {
  if (*line == L'"') {
    ++line;
    while (*line && *line != L'"') ++line;
    if (*line) ++line;
  } else {
    while (*line && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return line;
}

int main(void) {
  const wchar_t *rest = SkipFirstWord(GetCommandLineW());
  if (!*rest) {
    fprintf(stderr, "usage: exit_code_launcher program.exe [args...]\n");
    return 2;
  }
  wchar_t *command_line = HeapAlloc(GetProcessHeap(), 0, (lstrlenW(rest) + 1) * sizeof(wchar_t));
  if (!command_line) return 2;
  lstrcpyW(command_line, rest);

  STARTUPINFOW startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessW(NULL, command_line, NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process)) {
    fprintf(stderr, "could not start %ls (error %lu)\n", command_line, GetLastError());
    return 2;
  }
  CloseHandle(process.hThread);
  DWORD exit_code = 0;
  WaitForSingleObject(process.hProcess, INFINITE);
  const BOOL read = GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hProcess);
  if (!read) {
    fprintf(stderr, "could not read the exit code (error %lu)\n", GetLastError());
    return 2;
  }

  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"TL_BED32_EXIT_CODE_FILE", path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) {
    FILE *file = _wfopen(path, L"w");
    if (!file) {
      fprintf(stderr, "could not write %ls\n", path);
      return 2;
    }
    fprintf(file, "%lu\n", exit_code);
    fclose(file);
  }
  return (int)exit_code;
}
