// The process-wide command line: built once from the process's own command
// line and never changed afterwards.
#ifndef INSTALLER_COMMAND_LINE_PROCESS_COMMAND_LINE_H_
#define INSTALLER_COMMAND_LINE_PROCESS_COMMAND_LINE_H_

#include <string>
#include <vector>

#include "installer/command_line/installer_command_line.h"

namespace lite {

// Parses |words| and applies the one rewrite of the installer's own command
// line: "semi-silent" also switches on "silent" and "uac-enabled".
InstallerCommandLine BuildProcessCommandLine(const std::vector<std::u16string>& words);

#if defined(_WIN32)
// Built on first use from GetCommandLineW (thread-safe); the same object on
// every call.
const InstallerCommandLine& ProcessCommandLine();
// CommandLineToArgvW's words of |text|; none for an empty text (the Windows
// call would invent the program's own path).
std::vector<std::u16string> SplitCommandLine(const std::u16string& text);
// A whole command line, such as the value of "setup-cmd-line", as switches.
InstallerCommandLine CommandLineFromString(const std::u16string& text);
#endif

}  // namespace lite

#endif  // INSTALLER_COMMAND_LINE_PROCESS_COMMAND_LINE_H_
