// One interactive installation as a user starts it: lite_installer_e2e.exe
// against the test CDN, started without waiting so that a driver can work
// its window, and waited on for its exit code, log lines and events.
#ifndef TESTS_UI_INTERACTIVE_INSTALLATION_WIN_H_
#define TESTS_UI_INTERACTIVE_INSTALLATION_WIN_H_

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/process_win.h"
#include "tests/support/test_installation_win.h"

namespace lite {
namespace testing {

class InteractiveInstallation : public TestInstallation {
 public:
  InteractiveInstallation() = default;
  ~InteractiveInstallation();

  // Starts the installer with |switches| and returns at once.
  bool Start(const std::vector<std::u16string>& switches, const FakeSetup& setup = {});
  // Starts one more installer from the same file with the same environment.
  Process StartAnother(const std::vector<std::u16string>& switches) const;

  DWORD process_id() const { return process_.id(); }
  // The exit code once the installer ended within |timeout_ms|.
  std::optional<int> WaitForExit(DWORD timeout_ms);

  bool WaitForLogLine(const std::string& text, DWORD timeout_ms) const;
  // Waits for the events to contain one with every entry of |wanted|.
  bool WaitForEvent(const StatEvent& wanted, DWORD timeout_ms);

  // Where the installer stands, for a wait that gave up: whether it still
  // runs or how it ended, and the last line of its log.
  std::string State();

 private:
  FakeSetup setup_;
  Process process_;
  std::optional<int> exit_code_;
};

// Events whose "action" (or, for button, link and check-box events, whose
// "clicked_button", "clicked_link" or "chosen_checkbox") is |word|.
std::vector<StatEvent> EventsNamed(const std::vector<StatEvent>& events, const std::string& word);

}  // namespace testing
}  // namespace lite

#endif  // TESTS_UI_INTERACTIVE_INSTALLATION_WIN_H_
