#include "tests/e2e/silent_installation_win.h"

#include <cstdio>

#include "base/process_win.h"

namespace lite {
namespace testing {

int SilentInstallation::Run(const std::vector<std::u16string>& switches, const FakeSetup& setup,
                            DWORD timeout_ms, const std::string& endpoint_base) {
  const ULONGLONG start = GetTickCount64();
  Process process = Launch(switches, setup, endpoint_base);
  int code = -9999;
  if (!process.is_valid()) return code;
  if (!process.WaitForExit(timeout_ms, &code)) {
    // The test sees only -9999: what was waited for goes to its output.
    const std::vector<std::string> lines = LogLines();
    std::fprintf(stderr,
                 "the silent installer did not end within %lu ms and was ended; its log "
                 "stopped at: %s\n",
                 static_cast<unsigned long>(timeout_ms),
                 lines.empty() ? "(no log)" : lines.back().c_str());
    process.Terminate(1);
    code = -9999;
  }
  run_ms_ = static_cast<DWORD>(GetTickCount64() - start);
  return code;
}

}  // namespace testing
}  // namespace lite
