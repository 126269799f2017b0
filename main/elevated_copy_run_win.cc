#include "main/elevated_copy_run_win.h"

#include "base/file_path.h"
#include "installer/elevation/elevated_copy_win.h"
#include "installer/engine/installer_win.h"
#include "logging/log_message.h"
#include "logging/system_error_win.h"

namespace lite {

int RunElevatedCopy(const InstallerCommandLine& command_line) {
  return ExecuteAsAdmin(command_line,
                        [&command_line](InstallerDelegate& delegate, const std::u16string& archive,
                           const InstallerCommandLine& setup_command_line, int32_t* result_code) {
                          Installer engine(command_line, &delegate, nullptr, nullptr, false);
                          // The path came through memory any process of
                          // this file can write: the copy runs with rights,
                          // so it runs only what it has verified itself. The
                          // first installer keeps the file from changing.
                          if (!engine.VerifyDownloadedModule(FilePath(archive))) {
                            PLOG_FROM(ERROR, "ExecuteAsAdmin")
                                << "Module verification failed: " << archive;
                            return false;
                          }
                          const bool ok = engine.RunModule(archive, setup_command_line);
                          *result_code = engine.result_code();
                          return ok;
                        });
}

}  // namespace lite
