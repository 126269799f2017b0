#include "installer/setup/setup_process_win.h"

#include <windows.h>

#include <vector>

#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
#include "installer/setup/delayed_params_win.h"
#include "installer/setup/installer_source.h"
#include "installer/setup/setup_exit_code.h"
#include "installer/setup/setup_switches.h"
#include "logging/system_error_win.h"

namespace lite {
namespace {

constexpr int32_t kNoExitCode = 400;
constexpr int32_t kSetupFailedExit7 = 7;
constexpr int32_t kSetupFailedExit8 = 8;

#if defined(__i386__)
static_assert(sizeof(STARTUPINFOW) == 68, "the shipping build passes a 68-byte STARTUPINFOW");
#endif

}  // namespace

bool RunModuleAndWait(const char16_t* application, const std::u16string& command_line_text,
                      int32_t* exit_code, InstallerDelegate* delegate) {
  LOG(INFO) << "Run: " << command_line_text;
  if (exit_code) *exit_code = kNoExitCode;

  // CreateProcessW may write into the command line, so it gets a copy.
  std::vector<wchar_t> text(command_line_text.begin(), command_line_text.end());
  text.push_back(L'\0');
  STARTUPINFOW startup_info = {};
  startup_info.cb = sizeof(startup_info);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(application ? reinterpret_cast<const wchar_t*>(application) : nullptr,
                      text.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup_info, &info)) {
    const DWORD error = GetLastError();
    if (error == ERROR_EXE_MACHINE_TYPE_MISMATCH) {
      SetFailureKind(FailureKind::kMachineTypeMismatch);
    }
    PLOG_CODE(ERROR, error) << "Create process failed.";
    return false;
  }
  ScopedHandle process(info.hProcess);
  ScopedHandle thread(info.hThread);
  LOG(INFO) << "Process created: " << static_cast<uint32_t>(info.dwProcessId);
  if (delegate) {
    delegate->SetProgress(40);
    delegate->RemoveCancelButton();
  }
  thread.reset();

  LOG(INFO) << "Wait for process finish.";
  if (WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0) {
    PLOG(ERROR) << "Wait process failed.";
    return false;
  }
  if (!exit_code) return true;

  DWORD code = 0;
  const bool have_code = GetExitCodeProcess(process.get(), &code) != 0;
  if (have_code) {
    *exit_code = static_cast<int32_t>(code);
  } else {
    PLOG(ERROR) << "Get setup process exit code failed.";
  }
  LOG(INFO) << "Setup process exit with code: "
            << DescribeSetupExitCode(static_cast<uint32_t>(*exit_code));

  if (*exit_code == kSetupFailedExit7) {
    SetFailureKind(FailureKind::kSetupExit7);
    return false;
  }
  if (*exit_code == kSetupFailedExit8) {
    SetFailureKind(FailureKind::kSetupExit8);
    return false;
  }
  return have_code;
}

bool RunModule(const std::u16string& archive, const InstallerCommandLine& command_line,
               int32_t* result_code, InstallerDelegate* delegate) {
  InstallerCommandLine line = command_line;
  line.SetProgram(archive);
  line.AppendSwitchASCII(setup_switches::kSource, InstallerSourceName(InstallerSource::kLite));
  return RunModuleAndWait(nullptr, line.Render(), result_code, delegate);
}

}  // namespace lite
