#include "tests/e2e/silent_installation_win.h"

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
    process.Terminate(1);
    code = -9999;
  }
  run_ms_ = static_cast<DWORD>(GetTickCount64() - start);
  return code;
}

}  // namespace testing
}  // namespace lite
