#include <windows.h>
#include <shellapi.h>

#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
#include "installer/command_line/process_command_line.h"

namespace lite {

std::vector<std::u16string> SplitCommandLine(const std::u16string& text) {
  std::vector<std::u16string> words;
  if (text.empty()) return words;
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(AsWide(text), &count);
  if (!argv) return words;
  ScopedLocalMemory free_argv(reinterpret_cast<HLOCAL>(argv));
  for (int i = 0; i < count; ++i) words.push_back(FromWide(argv[i]));
  return words;
}

InstallerCommandLine CommandLineFromString(const std::u16string& text) {
  return InstallerCommandLine::FromWords(SplitCommandLine(text));
}

const InstallerCommandLine& ProcessCommandLine() {
  static const InstallerCommandLine command_line =
      BuildProcessCommandLine(SplitCommandLine(FromWide(GetCommandLineW())));
  return command_line;
}

}  // namespace lite
