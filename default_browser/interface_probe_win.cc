#include "default_browser/interface_probe_win.h"

#include "base/file_util_win.h"
#include "base/process_win.h"
#include "logging/log_message.h"
#include "logging/system_error_win.h"

namespace lite::win10_default_browser {
namespace {

constexpr char kSafeCheck[] = "IsInternalInterfaceAvailableSafeCheck";
constexpr char kFailed[] = "Failed to check Win10 internal interface availability";

}  // namespace

bool IsInternalInterfaceAvailableSafeCheck(const FilePath& program, ProbeResult* result) {
  *result = ProbeResult::kOtherFailure;
  if (program.value().empty() || !PathExists(program)) {
    PLOG_FROM(ERROR, kSafeCheck) << kFailed << ": " << "can't get installer exe path.";
    return false;
  }
  // A file name cannot hold a quotation mark, so quoting the program is enough.
  const std::u16string command_line =
      u"\"" + program.value() + u"\" --" +
      std::u16string(kCheckTheInterfaceSwitch,
                     kCheckTheInterfaceSwitch + sizeof(kCheckTheInterfaceSwitch) - 1);
  const Process probe = LaunchProcess(command_line);
  if (!probe.is_valid()) {
    PLOG_FROM(ERROR, kSafeCheck) << kFailed << ": " << "can't run installer: " << command_line;
    return false;
  }
  int exit_code = 0;
  if (!probe.WaitForExit(kProbeTimeoutMs, &exit_code)) {
    probe.Terminate(kProbeTerminatedExitCode);
    *result = ProbeResult::kTimedOut;
    PLOG_FROM(ERROR, kSafeCheck) << kFailed << ", " << " installer was terminated by timeout.";
    return false;
  }
  *result = ClassifyProbeExitCode(exit_code);
  switch (*result) {
    case ProbeResult::kCrashed:
      PLOG_FROM(ERROR, kSafeCheck) << kFailed << "," << " ret code: " << exit_code
                                   << ", installer crashed";
      return false;
    case ProbeResult::kAvailable:
    case ProbeResult::kNotAvailable: {
      const bool available = *result == ProbeResult::kAvailable;
      LOG_FROM(INFO, kSafeCheck) << "Successfuly checked Win10 internal interface availability: "
                                 << "availability: " << (available ? "1" : "0");
      return available;
    }
    case ProbeResult::kTimedOut:
    case ProbeResult::kOtherFailure:
      break;
  }
  PLOG_FROM(ERROR, kSafeCheck) << kFailed << ", unknown ret code: " << exit_code;
  return false;
}

bool IsInterfaceAvailable(const WindowsVersion& version, const FilePath& program,
                          InterfaceProbeStatus* status) {
  if (!version.IsWin10OrLater()) return false;
  ProbeResult result = ProbeResult::kAvailable;
  const bool available = IsKnownGoodBuild(version.build, version.ubr) ||
                         IsInternalInterfaceAvailableSafeCheck(program, &result);
  if (status) *status = MakeInterfaceProbeStatus(result, version.build, version.ubr);
  return available;
}

}  // namespace lite::win10_default_browser
