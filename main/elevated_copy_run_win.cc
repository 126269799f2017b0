#include "main/elevated_copy_run_win.h"

#include "crash/crash_handler_win.h"
#include "installer/command_line/switches.h"
#include "installer/elevation/elevated_copy_win.h"
#include "installer/engine/installer_win.h"

namespace lite {

int RunElevatedCopy(const InstallerCommandLine& command_line) {
  return ExecuteAsAdmin(command_line,
                        [&command_line](InstallerDelegate& delegate, const std::u16string& archive,
                           const InstallerCommandLine& setup_command_line, int32_t* result_code) {
                          // |archive| is the copy's own, verified through
                          // the handle it holds open while setup runs, in
                          // the folder only administrators can write: a
                          // crash from here on is dumped there, until the
                          // folder goes (once a user could make a folder of
                          // that name). The user's statistics choice came
                          // with setup's switches.
                          SetCrashDumpDirectory(FilePath(archive).DirName());
                          SetCrashUploadAllowed(
                              setup_command_line.HasSwitch(switches::kSendStatistics));
                          Installer engine(command_line, &delegate, nullptr, nullptr, false);
                          const bool ok = engine.RunModule(archive, setup_command_line);
                          *result_code = engine.result_code();
                          ClearCrashDumpDirectory();
                          return ok;
                        });
}

}  // namespace lite
