#include "installer/command_line/process_command_line.h"

#include "installer/command_line/switches.h"

namespace lite {

InstallerCommandLine BuildProcessCommandLine(const std::vector<std::u16string>& words) {
  InstallerCommandLine command_line = InstallerCommandLine::FromWords(words);
  if (command_line.HasSwitch(switches::kSemiSilent)) {
    command_line.AppendSwitch(switches::kSilent);
    command_line.AppendSwitch(switches::kUacEnabled);
  }
  return command_line;
}

}  // namespace lite
