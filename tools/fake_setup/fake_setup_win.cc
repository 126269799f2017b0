// A stand-in for the browser's setup program, for tests of the installer.
// It does what the setup-program contract allows and nothing else: it
// records what it was handed, reports progress to the installer window, and
// ends with the exit code the test chose. The test steers it through the
// environment, which setup inherits from the installer:
//   TOLVAR_FAKE_SETUP_RECORD     file to write the record to (JSON, see
//                                setup_record_win.h); none when unset
//   TOLVAR_FAKE_SETUP_EXIT_CODE  decimal exit code, 0 when unset
//   TOLVAR_FAKE_SETUP_DELAY_MS   time to stay running between the install
//                                and the import progress, 0 when unset
//   TOLVAR_FAKE_SETUP_CLOSE_DELAY_MS time to stay running between the
//                                import progress and the close request, so
//                                that a driver sees the finished progress;
//                                after a newer-version notice, before ending
//   TOLVAR_FAKE_SETUP_IMAGE_COPY file to copy this program's own file to,
//                                so a test can compare what was started
//                                with what was served; none when unset
// Three more make it act as a setup program that will not install; each
// needs a window ("--progress-window" other than "0") and is "1" to act:
//   TOLVAR_FAKE_SETUP_CORPORATE_QUESTION
//       after the install progress, sends "tolvar.corp.user_browser_exists"
//       and waits for the answer; the record is written again with
//       "corporate_question_result": the message result (1 = go on,
//       0 = declined), or null when the window did not answer. Without a
//       yes it ends there, with neither import progress nor close request.
//   TOLVAR_FAKE_SETUP_NEWER_VERSION
//       after the install progress and the delay, posts
//       "tolvar.higher_version_exist" instead of the import progress and the
//       close request, and ends (after the close delay).
//   TOLVAR_FAKE_SETUP_CORPORATE_NEWER_VERSION
//       the same with "tolvar.corp.user_higher_version_exist".
// A run with none of them posts install progress, waits, posts import
// progress and the close request.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "base/file_path.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "installer/command_line/installer_command_line.h"
#include "tools/fake_setup/notice_messages_win.h"
#include "tools/fake_setup/progress_messages_win.h"
#include "tools/fake_setup/setup_record_win.h"

namespace lite {
namespace {

std::optional<std::u16string> Environment(const wchar_t* name) {
  wchar_t buffer[MAX_PATH * 2];
  const DWORD length = GetEnvironmentVariableW(name, buffer, ARRAYSIZE(buffer));
  if (length == 0 || length >= ARRAYSIZE(buffer)) return std::nullopt;
  return FromWide(buffer, length);
}

// Exit codes are 32 bits: "-1" and "4294967295" both give 0xFFFFFFFF.
uint32_t EnvironmentNumber(const wchar_t* name) {
  const std::optional<std::u16string> text = Environment(name);
  return text ? static_cast<uint32_t>(std::strtoll(NarrowLowBytes(*text).c_str(), nullptr, 10))
              : 0;
}

// The installer window named by "progress-window"; null for "0" (a silent
// run) and when the switch is missing.
HWND ProgressWindow() {
  const InstallerCommandLine command_line = InstallerCommandLine::FromWords(CommandLineWords());
  const std::string value = command_line.GetSwitchValueASCII("progress-window");
  return reinterpret_cast<HWND>(
      static_cast<uintptr_t>(std::strtoull(value.c_str(), nullptr, 10)));
}

bool EnvironmentFlag(const wchar_t* name) { return Environment(name) == std::u16string(u"1"); }

// Long enough for a person, or a driver program, to answer a dialog.
constexpr UINT kAnswerTimeoutMs = 5 * 60 * 1000;

void CopyOwnImage(const std::u16string& destination) {
  wchar_t own_path[MAX_PATH * 2];
  const DWORD length = GetModuleFileNameW(nullptr, own_path, ARRAYSIZE(own_path));
  if (length == 0 || length >= ARRAYSIZE(own_path) ||
      !CopyFileW(own_path, AsWide(destination), FALSE)) {
    fprintf(stderr, "fake setup: cannot copy its own file (%lu)\n", GetLastError());
  }
}

int RunFakeSetup() {
  if (const std::optional<std::u16string> copy_path = Environment(L"TOLVAR_FAKE_SETUP_IMAGE_COPY")) {
    CopyOwnImage(*copy_path);
  }
  const std::optional<std::u16string> record_path = Environment(L"TOLVAR_FAKE_SETUP_RECORD");
  Value record = CaptureSetupRecord();
  if (record_path) WriteSetupRecord(record, FilePath(*record_path));
  const int exit_code = static_cast<int>(EnvironmentNumber(L"TOLVAR_FAKE_SETUP_EXIT_CODE"));
  const HWND window = ProgressWindow();
  if (!window) {
    if (const uint32_t delay_ms = EnvironmentNumber(L"TOLVAR_FAKE_SETUP_DELAY_MS")) Sleep(delay_ms);
    return exit_code;
  }

  PostInstallProgress(window);
  if (EnvironmentFlag(L"TOLVAR_FAKE_SETUP_CORPORATE_QUESTION")) {
    const std::optional<LRESULT> answer = AskCorporateUpdate(window, kAnswerTimeoutMs);
    (*record.GetIfDict())["corporate_question_result"] =
        answer ? Value(static_cast<int>(*answer)) : Value();
    if (record_path) WriteSetupRecord(record, FilePath(*record_path));
    if (answer != 1) return exit_code;
  }
  if (const uint32_t delay_ms = EnvironmentNumber(L"TOLVAR_FAKE_SETUP_DELAY_MS")) Sleep(delay_ms);
  const uint32_t close_delay_ms = EnvironmentNumber(L"TOLVAR_FAKE_SETUP_CLOSE_DELAY_MS");
  if (EnvironmentFlag(L"TOLVAR_FAKE_SETUP_NEWER_VERSION")) {
    PostNotice(window, kHigherVersionExistMessage);
    if (close_delay_ms) Sleep(close_delay_ms);
    return exit_code;
  }
  if (EnvironmentFlag(L"TOLVAR_FAKE_SETUP_CORPORATE_NEWER_VERSION")) {
    PostNotice(window, kCorporateHigherVersionExistMessage);
    if (close_delay_ms) Sleep(close_delay_ms);
    return exit_code;
  }
  PostImportProgress(window);
  if (close_delay_ms) Sleep(close_delay_ms);
  PostCloseWindow(window);
  return exit_code;
}

}  // namespace
}  // namespace lite

int wmain() { return lite::RunFakeSetup(); }
