// Runs a Windows program and prints its whole 32-bit exit code, which a
// Unix shell would cut to its low byte when Wine hands it over.
//   exit_code_reporter.exe program.exe [args...]
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/command_line_words.h"
#include "base/process_win.h"
#include "base/wide_string_win.h"
#include "installer/exit_code.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: exit_code_reporter program.exe [args...]\n");
    return 2;
  }
  std::u16string command_line;
  for (int i = 1; i < argc; ++i) {
    if (!command_line.empty()) command_line.push_back(u' ');
    const std::u16string word = lite::FromWide(argv[i]);
    command_line += word.empty() ? u"\"\"" : lite::QuoteForCommandLine(word);
  }
  const lite::Process process = lite::LaunchProcess(command_line);
  if (!process.is_valid()) {
    std::fprintf(stderr, "could not start the program (error %lu)\n",
                 static_cast<unsigned long>(GetLastError()));
    return 2;
  }
  int exit_code = 0;
  if (!process.WaitForExit(INFINITE, &exit_code)) {
    std::fprintf(stderr, "could not read the exit code\n");
    return 2;
  }
  std::printf("exit code: %s\n", lite::DescribeExitCode(exit_code).c_str());
  return 0;
}
