#include "installer/engine/installer_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "base/file_util_win.h"
#include "base/registry_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "distribution/brand_info.h"
#include "distribution/distrib_info_params.h"
#include "installer/command_line/installer_command_line.h"
#include "installer/elevation/elevated_installer_win.h"
#include "installer/engine/module_acquisition_win.h"
#include "installer/installer_delegate.h"
#include "installer/setup/delayed_params_win.h"
#include "stats/setup_registry_win.h"
#include "stats/user_id_win.h"
#include "tests/cdn/test_cdn_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

using testing::TestCdn;

constexpr char kArchivePath[] = "/browser/tolvar/browser-setup.arc";

// The engine with the steps that would leave the test replaced: no pause
// between attempts, a chosen verification result, and a setup run that
// only records what it was given.
// The engine's own attempts with short pauses.
class QuickPauses : public WinAcquisitionEnvironment {
 public:
  using WinAcquisitionEnvironment::WinAcquisitionEnvironment;
  bool Pause(uint32_t) override { return WinAcquisitionEnvironment::Pause(10); }
};

class TestEngine : public Installer {
 public:
  TestEngine(InstallerCommandLine command_line, InstallerDelegate* delegate,
             const BrandInfo* brand, const DistribInfoParams* params, bool with_background_tasks)
      : Installer(std::move(command_line), delegate, brand, params, with_background_tasks) {
    set_acquisition_environment(std::make_unique<QuickPauses>(&transfer_stop(), delegate));
  }

  bool verification_result = true;
  bool setup_result = true;
  int32_t setup_exit_code = 0;
  FailureKind setup_failure_kind = FailureKind::kNone;

  std::atomic<int> setup_runs{0};
  // Set: setup never returns, as a hung setup program would not.
  HANDLE hang_until = nullptr;
  std::u16string archive;
  InstallerCommandLine setup_command_line;
  std::optional<std::u16string> brand_value_during_setup;
  bool archive_writable_during_setup = true;
  bool started_when_setup_ran = false;

  bool VerifyDownloadedModule(const FilePath& path) override {
    EXPECT_TRUE(PathExists(path));
    return verification_result;
  }
  bool RunModule(const std::u16string& archive_path,
                 const InstallerCommandLine& command_line) override {
    ++setup_runs;
    started_when_setup_ran = setup_started();
    if (hang_until) WaitForSingleObject(hang_until, INFINITE);
    archive = archive_path;
    setup_command_line = command_line;
    brand_value_during_setup = ReadSetupValue(u"brand");
    ScopedHandle writer(CreateFileW(AsWide(archive_path), GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    archive_writable_during_setup = writer.is_valid();
    set_result_code(setup_exit_code);
    if (setup_failure_kind != FailureKind::kNone) SetFailureKind(setup_failure_kind);
    return setup_result;
  }
};

class RecordingDelegate : public InstallerDelegate {
 public:
  std::vector<int> errors;
  // A window shows the error and is closed, which stops the engine.
  HANDLE stop_on_error = nullptr;
  void OnDownloadProgress(float) override {}
  void OnSlowDownload() override {}
  void OnTimeRemaining(int, int) override {}
  void CloseIfInstallStarted(bool) override {}
  void OnInstallError(int install_result) override {
    errors.push_back(install_result);
    if (stop_on_error) SetEvent(stop_on_error);
  }
  HWND GetWindowHandle() override { return nullptr; }
  void SetProgress(int) override {}
  void RemoveCancelButton() override {}
};

class InstallerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(cdn_.Start());
    // Every compiled-in host, the setup URL's included, leads to the CDN.
    ASSERT_EQ(_putenv_s("TOLVAR_LITE_ENDPOINT_BASE", cdn_.Url("").c_str()), 0);
    scratch_ = testing::MakeScratchDir();
    brand_.emplace(FilePath(scratch_.value() + u"\\"));
    brand_->ApplyDefaults();
    SetFailureKind(FailureKind::kNone);
  }
  void TearDown() override {
    SetFailureKind(FailureKind::kNone);
    _putenv_s("TOLVAR_LITE_ENDPOINT_BASE", "");
    for (const char16_t* name : {u"lang", u"InstallerData", u"ClidsFile",
                                 u"TolvarWebsiteIconFile", u"AbtConfigResourceFile", u"brand",
                                 u"BrandFile", u"install_stat"}) {
      RemoveSetupValue(name);
    }
    DeletePathRecursively(scratch_);
  }

  // How the CDN answers for the setup archive: by default, 4 KiB of bytes.
  void ServeArchive(const char* rule = R"({"generate": 4096})") {
    EXPECT_TRUE(cdn_.SetRule(kArchivePath, rule)) << rule;
  }

  // The final report's query, once it has arrived.
  std::string FinalReportQuery() {
    std::optional<Value> reports = cdn_.Requests("/get/browser/install");
    if (!reports || reports->GetIfList()->empty()) return std::string();
    const Value& last = reports->GetIfList()->back();
    const std::string* query = last.FindPath("query") ? last.FindPath("query")->GetIfString()
                                                      : nullptr;
    return query ? *query : std::string();
  }

  bool ArchiveStillInScratch() {
    return !EnumerateFiles(scratch_, u"tq*.tmp").empty();
  }

  TestCdn cdn_;
  FilePath scratch_;
  std::optional<BrandInfo> brand_;
  DistribInfoParams params_{std::nullopt};
};

TEST_F(InstallerTest, SilentRunHandsTheLockedArchiveToSetupAndCleansUpAfter) {
  ServeArchive();
  TestEngine engine(InstallerCommandLine(), nullptr, &*brand_, &params_, false);
  engine.setup_exit_code = 3;
  EXPECT_FALSE(engine.setup_started());
  engine.InstallSync();

  ASSERT_EQ(engine.setup_runs, 1);
  // The window may take setup's messages from before setup's start on.
  EXPECT_TRUE(engine.started_when_setup_ran);
  EXPECT_EQ(engine.result_code(), 3);
  EXPECT_EQ(engine.setup_command_line.GetProgram(), engine.archive);
  EXPECT_EQ(engine.setup_command_line.GetSwitchValue("progress-window"), u"0");
  EXPECT_EQ(engine.setup_command_line.GetSwitchValueASCII("brand-name"), "tolvar");
  EXPECT_FALSE(engine.setup_command_line.GetSwitchValue("installerdata").empty());
  // Setup found its values, and nobody could write the archive under it.
  EXPECT_EQ(engine.brand_value_during_setup, u"tolvar");
  EXPECT_FALSE(engine.archive_writable_during_setup);

  EXPECT_FALSE(ArchiveStillInScratch());
  EXPECT_FALSE(ReadSetupValue(u"brand").has_value());
  EXPECT_FALSE(ReadSetupValue(u"InstallerData").has_value());
  EXPECT_TRUE(ReadSetupValue(u"lang").has_value());
  EXPECT_TRUE(ReadSetupValue(u"install_stat").has_value());
  const std::string report = FinalReportQuery();
  EXPECT_NE(report.find("&result=success&time="), std::string::npos) << report;
  EXPECT_NE(report.find("&install_time="), std::string::npos) << report;
  EXPECT_EQ(engine.installation_id().size(), 36u);
}

TEST_F(InstallerTest, UntrustedArchiveGives402AndNeverReachesSetup) {
  ServeArchive();
  TestEngine engine(InstallerCommandLine(), nullptr, &*brand_, &params_, false);
  engine.verification_result = false;
  engine.InstallSync();

  EXPECT_EQ(engine.setup_runs, 0);
  EXPECT_FALSE(engine.setup_started());
  EXPECT_EQ(engine.result_code(), 402);
  EXPECT_FALSE(ArchiveStillInScratch());
  // A failed installation leaves setup's values for a later attempt.
  EXPECT_TRUE(ReadSetupValue(u"brand").has_value());
  const std::string report = FinalReportQuery();
  EXPECT_NE(report.find("&result=failed&time=0"), std::string::npos) << report;
}

TEST_F(InstallerTest, ArchiveThatCannotBeDownloadedGives401AndAnError) {
  ServeArchive(R"({"status": 404})");
  RecordingDelegate delegate;
  TestEngine engine(InstallerCommandLine(), &delegate, &*brand_, &params_, false);
  delegate.stop_on_error = engine.stop_event();
  // The window releases the installation at once; the download fails first.
  engine.ReleaseInstall();
  engine.InstallSync();

  EXPECT_EQ(engine.result_code(), 401);
  EXPECT_EQ(engine.setup_runs, 0);
  EXPECT_EQ(delegate.errors, std::vector<int>{static_cast<int>(InstallResult::kDownloadFailed)});
}

TEST_F(InstallerTest, SetupExitCode7ReachesTheWindowAsFailureKind5) {
  ServeArchive();
  RecordingDelegate delegate;
  TestEngine engine(InstallerCommandLine(), &delegate, &*brand_, &params_, false);
  delegate.stop_on_error = engine.stop_event();
  engine.setup_result = false;
  engine.setup_exit_code = 7;
  engine.setup_failure_kind = FailureKind::kSetupExit7;
  engine.InstallSync();

  EXPECT_EQ(engine.result_code(), 7);
  EXPECT_EQ(delegate.errors, std::vector<int>{5});
  EXPECT_NE(FinalReportQuery().find("&result=failed"), std::string::npos);
}

TEST_F(InstallerTest, ClosingTheWindowBeforeInstallEndsTheWorkerWithoutAnError) {
  ServeArchive();
  RecordingDelegate delegate;
  int setup_runs = 0;
  {
    TestEngine engine(InstallerCommandLine(), &delegate, &*brand_, &params_, false);
    engine.InstallAsync();
    // The download finishes while the welcome screen waits for Install.
    for (int i = 0; i < 200 && cdn_.Requests(kArchivePath)->GetIfList()->empty(); ++i) Sleep(50);
    Sleep(500);
    const DWORD start = GetTickCount();
    EXPECT_TRUE(engine.WaitForInstallAsync());
    EXPECT_LT(GetTickCount() - start, 10000u);
    setup_runs = engine.setup_runs;
  }
  EXPECT_EQ(setup_runs, 0);
  EXPECT_TRUE(delegate.errors.empty());
  EXPECT_FALSE(ArchiveStillInScratch());
}

// Forgets the user identifier: its file and the marker that it was made.
void ForgetUserId() {
  DeleteFileIfExists(GetUserIdFilePath(false));
  for (const char16_t* key : {kUserIdMarkerKey, kUserIdMarkerKeyLowIntegrity}) {
    RegistryKey opened;
    if (opened.Open(HKEY_CURRENT_USER, key, KEY_SET_VALUE) == ERROR_SUCCESS) {
      opened.DeleteValue(UserIdMarkerName());
    }
  }
}

// The elevated copy runs with rights its user lacks: it reads the user
// identifier but never creates a file in the user's roaming folder.
TEST_F(InstallerTest, ElevatedCopyReadsTheUserIdentifierButNeverCreatesIt) {
  const FilePath file = GetUserIdFilePath(true);
  ASSERT_FALSE(file.empty());
  InstallerCommandLine elevated;
  elevated.AppendSwitch("run-as-admin");

  ForgetUserId();
  { Installer copy(elevated, nullptr, nullptr, nullptr, false); }
  EXPECT_FALSE(PathExists(file));

  ASSERT_TRUE(WriteWholeFile(file, "{5EED}"));
  {
    Installer copy(elevated, nullptr, nullptr, nullptr, false);
    EXPECT_EQ(copy.statistics().GetParam(StatParam::kUi), "5EED");
  }

  ForgetUserId();
  { Installer first(InstallerCommandLine(), nullptr, nullptr, nullptr, false); }
  EXPECT_TRUE(PathExists(file));
  ForgetUserId();
}

// Stands for an elevated copy that could not take the single-instance lock.
int ExitAsAnotherInstance(const std::vector<std::u16string>&) { return 600; }
TL_CHILD_PROCESS("exit-as-another-instance", ExitAsAnotherInstance);

class ElevatedTestEngine : public TestEngine {
 public:
  using TestEngine::TestEngine;
  using Installer::set_elevated_installer;
};

// Makes child |name| of this test binary |engine|'s elevated copy; the
// child's process (invalid when it could not be handed over) and, in
// |copy|, the engine's handle on it.
Process HandElevatedCopy(ElevatedTestEngine* engine, const char* name,
                         ElevatedInstaller** copy = nullptr) {
  Process child = testing::StartChild(name, {});
  HANDLE process = nullptr;
  if (!child.is_valid() ||
      !DuplicateHandle(GetCurrentProcess(), child.handle(), GetCurrentProcess(), &process, 0,
                       FALSE, DUPLICATE_SAME_ACCESS)) {
    if (child.is_valid()) child.Terminate(1);
    return Process();
  }
  auto installer = std::make_unique<ElevatedInstaller>();
  if (copy) *copy = installer.get();
  installer->SetProcess(process, nullptr);
  engine->set_elevated_installer(std::move(installer));
  return child;
}

TEST_F(InstallerTest, ElevatedCopyEndingWith600GivesInstallResult7) {
  ServeArchive();
  RecordingDelegate delegate;
  ElevatedTestEngine engine(InstallerCommandLine(), &delegate, &*brand_, &params_, false);
  delegate.stop_on_error = engine.stop_event();
  ASSERT_TRUE(HandElevatedCopy(&engine, "exit-as-another-instance").is_valid());
  engine.InstallSync();

  EXPECT_EQ(engine.setup_runs, 0);
  EXPECT_TRUE(engine.setup_started()) << "the elevated copy was let run setup";
  EXPECT_EQ(delegate.errors, std::vector<int>{7});
  // Setup's exit code never reaches this process.
  EXPECT_EQ(engine.result_code(), 400);
}

TEST_F(InstallerTest, WorkerThatDoesNotStopIsTerminatedAfterSixtySeconds) {
  ServeArchive();
  ScopedHandle never(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::optional<TestEngine> engine;
  engine.emplace(InstallerCommandLine(), nullptr, &*brand_, &params_, false);
  engine->hang_until = never.get();
  engine->InstallAsync();
  engine->ReleaseInstall();
  for (int i = 0; i < 400 && engine->setup_runs == 0; ++i) Sleep(50);
  ASSERT_EQ(engine->setup_runs, 1);
  const DWORD start = GetTickCount();
  // The destructor stops the engine; a setup run in this process does not
  // stop for it.
  engine.reset();
  const DWORD waited = GetTickCount() - start;
  EXPECT_GE(waited, 59000u);
  EXPECT_LT(waited, 70000u);
  // The terminated worker never got to its clean-up; the destructor did it.
  EXPECT_FALSE(ArchiveStillInScratch());
}

// Stands for an elevated copy that is still at work for a while.
int WorkForEightSeconds(const std::vector<std::u16string>&) {
  Sleep(8000);
  return 0;
}
TL_CHILD_PROCESS("work-for-a-while", WorkForEightSeconds);

// Cancel while the elevated copy runs: the copy may still be reading the
// archive, so no one may write it until the copy has ended.
TEST_F(InstallerTest, ArchiveStaysLockedUntilACancelledElevatedCopyHasEnded) {
  ServeArchive();
  RecordingDelegate delegate;
  ElevatedTestEngine engine(InstallerCommandLine(), &delegate, &*brand_, &params_, false);
  ElevatedInstaller* copy_holder = nullptr;
  Process child = HandElevatedCopy(&engine, "work-for-a-while", &copy_holder);
  ASSERT_TRUE(child.is_valid());
  engine.InstallAsync();
  engine.ReleaseInstall();
  for (int i = 0; i < 400 && !copy_holder->started(); ++i) Sleep(20);
  ASSERT_TRUE(copy_holder->started());

  SetEvent(engine.stop_event());  // the user cancels
  Sleep(500);
  ASSERT_FALSE(child.WaitForExit(0, nullptr)) << "the copy is still at work";
  const std::vector<FilePath> archives = EnumerateFiles(scratch_, u"tq*.tmp");
  ASSERT_EQ(archives.size(), 1u);
  const ScopedHandle writer(CreateFileW(AsWide(archives[0].value()), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(writer.is_valid());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

  EXPECT_TRUE(engine.WaitForInstallAsync());
  EXPECT_TRUE(child.WaitForExit(0, nullptr));
  EXPECT_FALSE(ArchiveStillInScratch());
}

}  // namespace
}  // namespace lite
