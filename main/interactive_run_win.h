#ifndef MAIN_INTERACTIVE_RUN_WIN_H_
#define MAIN_INTERACTIVE_RUN_WIN_H_

namespace lite {

class InstallerCommandLine;
struct DistributionConfiguration;

// Runs the installation window modally. Returns the window's result (1 when
// it ended normally, with |*engine_result| then the engine's result code).
int RunInstallerWindow(const InstallerCommandLine& command_line,
                       const DistributionConfiguration& config, double scale_factor,
                       int* engine_result);

}  // namespace lite

#endif  // MAIN_INTERACTIVE_RUN_WIN_H_
