// Every exit code the installer process can end with. Codes outside the
// table are the setup program's own exit code, passed through.
#ifndef INSTALLER_EXIT_CODE_H_
#define INSTALLER_EXIT_CODE_H_

#include <string>

namespace lite {

enum ExitCode : int {
  kExitElevatedSetupSucceeded = 0,
  kExitElevatedCopyFailed = -1,
  kExitDllFilesFound = -200,
  kExitNoSetupExitCode = 400,
  kExitDownloadFailed = 401,
  kExitVerificationFailed = 402,
  kExitNotEnoughDiskSpace = 403,
  kExitProcessorNotSupported = 404,
  kExitWindowCancelled = 500,
  kExitAnotherInstanceRunning = 600,
  kExitInterfaceAvailable = 700,
  kExitInterfaceNotAvailable = 701,
};

struct ExitCodeInfo {
  int code;
  const char* name;
  const char* meaning;
};

// The row for |code|, or null for a code the installer never sets itself.
const ExitCodeInfo* FindExitCode(int code);
// "400 (no_setup_exit_code: ...)" for a table code; for any other code
// "7 (the setup program's exit code)".
std::string DescribeExitCode(int code);

}  // namespace lite

#endif  // INSTALLER_EXIT_CODE_H_
