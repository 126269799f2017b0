// "run-as-admin": the elevated copy's whole run.
#ifndef MAIN_ELEVATED_COPY_RUN_WIN_H_
#define MAIN_ELEVATED_COPY_RUN_WIN_H_

namespace lite {

class InstallerCommandLine;

// Runs setup on the archive the first installer handed over; 0 or -1.
int RunElevatedCopy(const InstallerCommandLine& command_line);

}  // namespace lite

#endif  // MAIN_ELEVATED_COPY_RUN_WIN_H_
