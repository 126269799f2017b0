// A browser that was installed successfully leaves its launch command line in
// the registry ("InstallerSuccessLaunchCmdLine") and, while it runs, holds a
// global event named after that command line. The statistics check whether
// that event exists.
#ifndef STATS_LAUNCH_EVENT_NAME_H_
#define STATS_LAUNCH_EVENT_NAME_H_

#include <optional>
#include <string>
#include <string_view>

namespace lite {

// "Global\" + the command line without one leading and one trailing double
// quote, "\" replaced by "!", lower-cased; nothing for fewer than three
// characters, which cannot name a program.
std::optional<std::u16string> LaunchEventName(std::u16string_view launch_command_line);

}  // namespace lite

#endif  // STATS_LAUNCH_EVENT_NAME_H_
