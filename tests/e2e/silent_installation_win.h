// One installation as a user starts it without a window: lite_installer_e2e.exe
// run to its end against the test CDN, timed.
#ifndef TESTS_E2E_SILENT_INSTALLATION_WIN_H_
#define TESTS_E2E_SILENT_INSTALLATION_WIN_H_

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/test_installation_win.h"

namespace lite {
namespace testing {

class SilentInstallation : public TestInstallation {
 public:
  // Runs the installer with |switches| until it ends (at most |timeout_ms|);
  // its exit code, or -9999 when it did not end in time. Without Serve the
  // service hosts lead to |endpoint_base|.
  int Run(const std::vector<std::u16string>& switches, const FakeSetup& setup = {},
          DWORD timeout_ms = 120000, const std::string& endpoint_base = std::string());
  // Wall time of the last Run.
  DWORD run_ms() const { return run_ms_; }

 private:
  DWORD run_ms_ = 0;
};

}  // namespace testing
}  // namespace lite

#endif  // TESTS_E2E_SILENT_INSTALLATION_WIN_H_
