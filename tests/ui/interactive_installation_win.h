// One interactive installation as a user starts it: lite_installer_e2e.exe
// with its own temporary directory, its service hosts led to a test CDN that
// serves a fake setup archive, started without waiting so that a driver can
// work its window; then its exit code, its log, the statistics the CDN got
// and what the fake setup program was handed.
#ifndef TESTS_UI_INTERACTIVE_INSTALLATION_WIN_H_
#define TESTS_UI_INTERACTIVE_INSTALLATION_WIN_H_

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/file_path.h"
#include "base/json/json_value.h"
#include "base/process_win.h"
#include "tests/cdn/test_cdn_win.h"

namespace lite {
namespace testing {

// The setup archives of the build (tools/fake_setup).
enum class Archive {
  kSigned,    // verifies
  kTampered,  // a byte changed after signing: refused
};

// What the fake setup program does once started (tools/fake_setup reads
// these from the environment it inherits).
struct FakeSetup {
  int exit_code = 0;
  int delay_ms = 0;  // between the install and the import progress
  // More of its variables, e.g. the messages it sends to the window.
  std::map<std::u16string, std::u16string> environment;
};

// One statistics event: the "-key=value" entries of its request path.
using StatEvent = std::map<std::string, std::string>;

// The build directory, as Windows names it.
FilePath BuildDir();

class InteractiveInstallation {
 public:
  InteractiveInstallation();
  ~InteractiveInstallation();
  InteractiveInstallation(const InteractiveInstallation&) = delete;
  InteractiveInstallation& operator=(const InteractiveInstallation&) = delete;

  // Starts the CDN with |archive| at the setup URL of every brand; an
  // |archive_rule| (test_cdn.py rule fields as JSON) says how those URLs
  // answer, e.g. slowly. False when the CDN did not come up.
  bool Serve(Archive archive, const std::string& archive_rule = std::string());
  // Starts the installer with |switches| and returns at once.
  bool Start(const std::vector<std::u16string>& switches, const FakeSetup& setup = {});
  // Starts one more installer from the same file with the same environment.
  Process StartAnother(const std::vector<std::u16string>& switches) const;

  DWORD process_id() const { return process_.id(); }
  // The exit code once the installer ended within |timeout_ms|.
  std::optional<int> WaitForExit(DWORD timeout_ms);

  std::vector<std::string> LogLinesWith(const std::string& text) const;
  bool WaitForLogLine(const std::string& text, DWORD timeout_ms) const;
  FilePath log_path() const { return temp_.Append(u"lite_installer.log"); }

  // Statistics events received so far, in order.
  std::vector<StatEvent> StatEvents();
  // Waits for the events to contain one with every entry of |wanted|.
  bool WaitForEvent(const StatEvent& wanted, DWORD timeout_ms);
  // The final reports' request targets; waits a few seconds for the first.
  std::vector<std::string> FinalReports();

  // The fake setup's record; nothing when setup never ran.
  std::optional<Value> SetupRecord() const;

  TestCdn& cdn() { return cdn_; }

 private:
  std::vector<std::string> StatsTargets(bool wait_for_report);
  std::u16string Environment() const;

  FilePath scratch_;
  FilePath temp_;
  FilePath record_;
  TestCdn cdn_;
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
