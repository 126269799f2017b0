#include "installer/exit_code.h"

namespace lite {
namespace {

constexpr ExitCodeInfo kExitCodes[] = {
    {kExitElevatedSetupSucceeded, "success",
     "setup succeeded (elevated copy), setup's own code 0, or the protected copy "
     "could not be waited for"},
    {kExitElevatedCopyFailed, "elevated_copy_failed",
     "elevated copy: not started by its parent, archive missing, or setup failed"},
    {kExitDllFilesFound, "dll_files_found",
     "a restarted copy found DLL files in its own directory"},
    {kExitNoSetupExitCode, "no_setup_exit_code",
     "the installation ended without an exit code from the setup program"},
    {kExitDownloadFailed, "download_failed", "the setup archive could not be downloaded"},
    {kExitVerificationFailed, "verification_failed",
     "the setup archive failed verification"},
    {kExitNotEnoughDiskSpace, "not_enough_disk_space",
     "less than 600 MiB free: the disk-space dialog was shown"},
    {kExitProcessorNotSupported, "processor_not_supported",
     "the processor lacks SSE2 or SSE3"},
    {kExitWindowCancelled, "window_cancelled",
     "the installer window was closed or cancelled"},
    {kExitAnotherInstanceRunning, "another_instance_running",
     "another installer holds the single-instance lock"},
    {kExitInterfaceAvailable, "interface_available",
     "the default-browser interface is available"},
    {kExitInterfaceNotAvailable, "interface_not_available",
     "the default-browser interface is not available"},
};

}  // namespace

const ExitCodeInfo* FindExitCode(int code) {
  for (const ExitCodeInfo& row : kExitCodes) {
    if (row.code == code) return &row;
  }
  return nullptr;
}

std::string DescribeExitCode(int code) {
  const ExitCodeInfo* row = FindExitCode(code);
  if (!row) return std::to_string(code) + " (the setup program's exit code)";
  return std::to_string(code) + " (" + row->name + ": " + row->meaning + ")";
}

}  // namespace lite
