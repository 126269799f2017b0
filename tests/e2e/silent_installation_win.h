// One installation as a user starts it: lite_installer_e2e.exe with its own
// temporary directory, its service hosts led to a test CDN that serves a
// setup archive built from the fake setup program, and the fake's record of
// what it was handed.
#ifndef TESTS_E2E_SILENT_INSTALLATION_WIN_H_
#define TESTS_E2E_SILENT_INSTALLATION_WIN_H_

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/file_path.h"
#include "base/json/json_value.h"
#include "tests/cdn/test_cdn_win.h"

namespace lite {
namespace testing {

// The setup archives the build makes (tools/fake_setup).
enum class Archive {
  kSigned,          // verifies
  kTampered,        // one byte changed after signing: Authenticode fails
  kWrongKey,        // SIGNATURE.DAT made with a key other than the one it names
  kUnlistedSigner,  // TRUSTED.JSON lists another certificate
};
FilePath ArchivePath(Archive archive);

// What the fake setup program does when the installer starts it.
struct FakeSetup {
  int exit_code = 0;
  int delay_ms = 0;
};

// One statistics event: the "-key=value" entries of its request path.
using StatEvent = std::map<std::string, std::string>;

class SilentInstallation {
 public:
  SilentInstallation();
  ~SilentInstallation();
  SilentInstallation(const SilentInstallation&) = delete;
  SilentInstallation& operator=(const SilentInstallation&) = delete;

  // Starts the CDN with |archive| at the setup URL of every brand the
  // installer carries; false when the CDN did not come up.
  bool Serve(Archive archive);
  // Runs the installer with |switches| until it ends (at most |timeout_ms|);
  // its exit code, or -9999 when it did not end in time. Without Serve the
  // service hosts lead to |endpoint_base|.
  int Run(const std::vector<std::u16string>& switches, const FakeSetup& setup = {},
          DWORD timeout_ms = 120000, const std::string& endpoint_base = std::string());
  // Wall time of the last Run.
  DWORD run_ms() const { return run_ms_; }

  // The installer's temporary directory, with its trailing backslash, as the
  // installer names files in it.
  std::u16string temp_dir() const;
  // The fake setup's record (tools/fake_setup/setup_record_win.h); nothing
  // when setup never ran.
  std::optional<Value> SetupRecord() const;

  std::vector<std::string> LogLines() const;
  // Log lines containing |text|.
  std::vector<std::string> LogLinesWith(const std::string& text) const;

  // The statistics events in the order the CDN received them, once the
  // final report has arrived or a few seconds have passed.
  std::vector<StatEvent> StatEvents();
  // The final report's request target ("/get/browser/install?..."), in the
  // order received; normally exactly one.
  std::vector<std::string> FinalReports();
  // The index of the final report among all statistics and report requests
  // in arrival order (-1 when none arrived).
  int FinalReportPosition();

  TestCdn& cdn() { return cdn_; }

 private:
  // Every statistics and report target, waiting for the report first.
  std::vector<std::string> StatsAndReportTargets();

  FilePath scratch_;
  FilePath temp_;
  FilePath record_;
  TestCdn cdn_;
  DWORD run_ms_ = 0;
};

// The values the installer hands to setup under the per-user key
// HKCU\Software\Tolvar\TolvarBrowser; the e2e cases start from none of them.
void RemoveHandedOverValues();
// Which of them are present now (name -> value).
std::map<std::string, std::string> PresentHandedOverValues();

}  // namespace testing
}  // namespace lite

#endif  // TESTS_E2E_SILENT_INSTALLATION_WIN_H_
