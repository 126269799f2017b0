// The installer window, which drives an interactive installation.
#ifndef UI_MAIN_WINDOW_INSTALLER_WINDOW_WIN_H_
#define UI_MAIN_WINDOW_INSTALLER_WINDOW_WIN_H_

namespace lite {

struct DistributionConfiguration;

// Runs the window modally; |engine_result| is set when the window ended
// normally. Returns the window's result (1 when it ended normally). This
// build has no window: it logs so and returns 0, as a cancelled window.
int RunInstallerWindow(const DistributionConfiguration& config, int* engine_result);

}  // namespace lite

#endif  // UI_MAIN_WINDOW_INSTALLER_WINDOW_WIN_H_
