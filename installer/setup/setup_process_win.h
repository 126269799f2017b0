// Starting the browser's setup program and waiting for it to end.
#ifndef INSTALLER_SETUP_SETUP_PROCESS_WIN_H_
#define INSTALLER_SETUP_SETUP_PROCESS_WIN_H_

#include <cstdint>
#include <string>

#include "installer/command_line/installer_command_line.h"
#include "installer/installer_delegate.h"

namespace lite {

// Starts |command_line_text| (with |application| as CreateProcessW's
// application name, normally null) without a window and waits for it
// without time-out. |exit_code| (optional) is 400 until the program's code
// is read. Exit codes 7 and 8 are failures and recorded as the failure kind,
// as is a setup program built for another machine type. |delegate|
// (optional) hears SetProgress(40) and RemoveCancelButton() once the
// process runs.
bool RunModuleAndWait(const char16_t* application, const std::u16string& command_line_text,
                      int32_t* exit_code, InstallerDelegate* delegate);

// Runs |archive| with a copy of |command_line| that names this installer as
// the source, and waits for it.
bool RunModule(const std::u16string& archive, const InstallerCommandLine& command_line,
               int32_t* result_code, InstallerDelegate* delegate);

}  // namespace lite

#endif  // INSTALLER_SETUP_SETUP_PROCESS_WIN_H_
