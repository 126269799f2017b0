// What every end-to-end run of lite_installer_e2e.exe stands on: a scratch
// directory with the installer's own temporary directory, a test CDN that
// serves a fake setup archive at the setup URL of every brand the installer
// carries, and readers for what the run left (its log, the statistics the
// CDN got, the fake setup's record). Silent and interactive runs build on it.
#ifndef TESTS_SUPPORT_TEST_INSTALLATION_WIN_H_
#define TESTS_SUPPORT_TEST_INSTALLATION_WIN_H_

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

// The setup archives the build makes (tools/fake_setup).
enum class Archive {
  kSigned,          // verifies
  kTampered,        // one byte changed after signing: Authenticode fails
  kWrongKey,        // SIGNATURE.DAT made with a key other than the one it names
  kUnlistedSigner,  // TRUSTED.JSON lists another certificate
};
FilePath ArchivePath(Archive archive);

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

// The "-key=value" entries of a statistics request's target.
StatEvent EventVars(const std::string& target);

// The build directory, as Windows names it.
FilePath BuildDir();

class TestInstallation {
 public:
  TestInstallation();
  ~TestInstallation();
  TestInstallation(const TestInstallation&) = delete;
  TestInstallation& operator=(const TestInstallation&) = delete;

  // Starts the CDN with |archive| at the setup URL of every brand; an
  // |archive_rule| (test_cdn.py rule fields as JSON) says how those URLs
  // answer, e.g. slowly. False when the CDN did not come up.
  bool Serve(Archive archive, const std::string& archive_rule = std::string());

  // The installer's temporary directory, with its trailing backslash, as the
  // installer names files in it.
  std::u16string temp_dir() const;
  FilePath log_path() const { return temp_.Append(u"lite_installer.log"); }
  std::vector<std::string> LogLines() const;
  // Log lines containing |text|.
  std::vector<std::string> LogLinesWith(const std::string& text) const;

  // The statistics events in the order the CDN received them, once the
  // final report has arrived or a few seconds have passed.
  std::vector<StatEvent> StatEvents();
  // The statistics events received so far, without waiting.
  std::vector<StatEvent> StatEventsSoFar();
  // The final reports' request targets ("/get/browser/install?..."), in the
  // order received; waits a few seconds for the first. Normally exactly one.
  std::vector<std::string> FinalReports();
  // The index of the final report among all statistics and report requests
  // in arrival order (-1 when none arrived).
  int FinalReportPosition();

  // The fake setup's record (tools/fake_setup/setup_record_win.h); nothing
  // when setup never ran.
  std::optional<Value> SetupRecord() const;

  TestCdn& cdn() { return cdn_; }

 protected:
  // Starts lite_installer_e2e.exe with |switches| and this run's
  // environment; without Serve its service hosts lead to |endpoint_base|.
  Process Launch(const std::vector<std::u16string>& switches, const FakeSetup& setup,
                 const std::string& endpoint_base = std::string()) const;

 private:
  // Every statistics and report target in arrival order, after waiting up
  // to |wait_for_report_ms| for the report.
  std::vector<std::string> StatsAndReportTargets(DWORD wait_for_report_ms);
  std::vector<StatEvent> EventsOf(const std::vector<std::string>& targets) const;

  FilePath scratch_;
  FilePath temp_;
  FilePath record_;
  TestCdn cdn_;
};

// The values the installer hands to setup under the per-user key
// HKCU\Software\Tolvar\TolvarBrowser; they stay behind when a run is cut
// short, so every run starts and ends without them.
void RemoveHandedOverValues();
// Which of them are present now (name -> value).
std::map<std::string, std::string> PresentHandedOverValues();

}  // namespace testing
}  // namespace lite

#endif  // TESTS_SUPPORT_TEST_INSTALLATION_WIN_H_
