// The final report of an installation run: one synchronous GET to the
// installation-report host, whose answer is not read.
#ifndef INSTALLER_INSTALLATION_REPORT_WIN_H_
#define INSTALLER_INSTALLATION_REPORT_WIN_H_

namespace lite {

class InstallationEvents;
class WinModuleAcquisition;

// Sends the report through the engine's plain download (which honours its
// stop event); a failure is logged and changes nothing else.
void ReportInstallationFinished(WinModuleAcquisition& acquisition,
                                const InstallationEvents& events, bool success);

}  // namespace lite

#endif  // INSTALLER_INSTALLATION_REPORT_WIN_H_
