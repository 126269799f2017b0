// The two runs of the entry sequence that drive the engine without a window.
#ifndef MAIN_SILENT_RUN_WIN_H_
#define MAIN_SILENT_RUN_WIN_H_

namespace lite {

struct DistributionConfiguration;
class InstallerCommandLine;

// The silent installation on this thread; the engine's result code.
// |scale_factor| is the screen's, reported in the first statistics event.
int RunSilentInstallation(const InstallerCommandLine& command_line,
                          const DistributionConfiguration& config, double scale_factor);

}  // namespace lite

#endif  // MAIN_SILENT_RUN_WIN_H_
