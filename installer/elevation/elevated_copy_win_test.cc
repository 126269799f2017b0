// The hand-off between a first installer and its elevated copy, with both
// sides as real processes of this test binary: the copy is started through
// the "runas" verb (Wine starts it without a prompt) and runs the fake setup
// program, so the handoff taken out of the first installer, the exit codes
// and the progress window are all crossed for real.
#include "installer/elevation/elevated_copy_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "base/file_util_win.h"
#include "base/scoped_handle_win.h"
#include "base/utf.h"
#include "base/waitable_event_win.h"
#include "base/wide_string_win.h"
#include "installer/command_line/process_command_line.h"
#include "installer/elevation/elevated_installer_win.h"
#include "installer/elevation/process_window_delegate_win.h"
#include "installer/elevation/elevation_handoff_win.h"
#include "installer/elevation/protected_folder_win.h"
#include "installer/setup/delayed_params_win.h"
#include "installer/setup/setup_process_win.h"
#include "logging/file_logger_win.h"
#include "logging/log_message.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

constexpr char kHangMarker[] = "Setup hangs in the elevated copy";

// What the engine's RunModule does in the copy.
bool RunSetupHere(InstallerDelegate& delegate, const std::u16string& archive,
                  const InstallerCommandLine& setup_command_line, int32_t* result_code) {
  return RunModule(archive, setup_command_line, result_code, &delegate);
}

bool HangInSetup(InstallerDelegate&, const std::u16string&, const InstallerCommandLine&,
                 int32_t*) {
  LOG(INFO) << kHangMarker;
  Sleep(INFINITE);
  return false;
}

// The elevated copy. Its switches: "copy-runner" (setup or hang), "copy-log"
// (where it logs) and "copy-pid-file" (where it leaves its process id).
int RunElevatedCopy(const std::vector<std::u16string>&) {
  const InstallerCommandLine& command_line = ProcessCommandLine();
  WriteWholeFile(FilePath(command_line.GetSwitchValue("copy-pid-file")),
                 std::to_string(GetCurrentProcessId()));
  SetGlobalLogger(
      std::make_unique<FileLogger>(FilePath(command_line.GetSwitchValue("copy-log")), 1 << 20));
  const bool hang = command_line.GetSwitchValueASCII("copy-runner") == "hang";
  return ExecuteAsAdmin(command_line, hang ? ElevatedSetupRunner(HangInSetup)
                                           : ElevatedSetupRunner(RunSetupHere));
}
TL_CHILD_PROCESS("elevated-copy", RunElevatedCopy);

// A first installer that starts its copy with its own switches and then
// neither releases nor aborts it, until it is killed.
int StartCopyAndWait(const std::vector<std::u16string>&) {
  InstallerCommandLine copy = ProcessCommandLine();
  copy.AppendSwitchASCII("child", "elevated-copy");
  bool access_denied = false;
  std::unique_ptr<ElevatedInstaller> installer =
      StartElevatedCopy(copy, u"fake_browser_arc --verbose-logging", &access_denied);
  if (!installer) return 1;
  Sleep(INFINITE);
  return 0;
}
TL_CHILD_PROCESS("first-installer", StartCopyAndWait);

// The first installer's window, pumped on its own thread as the real window
// is while the engine's worker waits: the copy's delegate sends to it.
class ProgressWindow {
 public:
  ProgressWindow() : thread_([this] { Run(); }) { ready_.Wait(30000); }
  ~ProgressWindow() {
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }

  HWND window() const { return window_; }
  std::vector<WPARAM> progress() {
    std::lock_guard<std::mutex> lock(mutex_);
    return progress_;
  }
  bool cancel_visible() const { return GetWindowLongW(cancel_, GWL_STYLE) & WS_VISIBLE; }

 private:
  void Run() {
    thread_id_ = GetCurrentThreadId();
    window_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                              nullptr, nullptr);
    cancel_ = CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20,
                              window_, reinterpret_cast<HMENU>(kCancelButtonId), nullptr,
                              nullptr);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists now
    ready_.Signal();
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (message.message == kSetProgressMessage) {
        std::lock_guard<std::mutex> lock(mutex_);
        progress_.push_back(message.wParam);
      }
      DispatchMessageW(&message);
    }
    DestroyWindow(window_);
  }

  WaitableEvent ready_{WaitableEvent::Reset::kManual};
  std::atomic<DWORD> thread_id_{0};
  HWND window_ = nullptr;
  HWND cancel_ = nullptr;
  std::mutex mutex_;
  std::vector<WPARAM> progress_;
  std::thread thread_;
};

class ElevatedCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetGlobalLogger(std::make_unique<RecordingLogger>(&records_));
    ASSERT_FALSE(dir_.empty());
    SetEnvironmentVariableW(L"TOLVAR_FAKE_SETUP_RECORD", AsWide(setup_record_.value()));
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"TOLVAR_FAKE_SETUP_RECORD", nullptr);
    SetEnvironmentVariableW(L"TOLVAR_FAKE_SETUP_EXIT_CODE", nullptr);
    SetGlobalLogger(nullptr);
    DeletePathRecursively(dir_);
  }

  // What the engine hands over once the archive is ready.
  static bool HandOverArchive(ElevatedInstaller* installer, const std::u16string& archive) {
    DelayedParamsValues values;
    values.browser_arc_path = archive;
    values.histogram_download_time = u"12";
    return installer->handoff().HandOver(values, FilePath(archive), {});
  }
  void SetSetupExitCode(int code) {
    SetEnvironmentVariableW(L"TOLVAR_FAKE_SETUP_EXIT_CODE",
                            AsWide(UTF8ToUTF16(std::to_string(code))));
  }

  // Switches for the copy (and for a first installer that passes them on).
  std::vector<std::u16string> CopySwitches(const char* runner) const {
    return {u"--copy-runner=" + UTF8ToUTF16(runner), u"--copy-log=" + copy_log_.value(),
            u"--copy-pid-file=" + copy_pid_file_.value()};
  }
  std::unique_ptr<ElevatedInstaller> StartCopy(const char* runner, HWND progress_window) {
    std::vector<std::u16string> words = {GetExecutablePath().value(), u"--child=elevated-copy"};
    for (const std::u16string& word : CopySwitches(runner)) words.push_back(word);
    const std::u16string setup =
        u"fake_browser_arc --verbose-logging --progress-window=" +
        UTF8ToUTF16(std::to_string(reinterpret_cast<uintptr_t>(progress_window)));
    bool access_denied = true;
    auto installer =
        StartElevatedCopy(InstallerCommandLine::FromWords(words), setup, &access_denied);
    EXPECT_FALSE(access_denied);
    return installer;
  }

  // The copy's process, once it has said who it is.
  Process OpenCopy() {
    for (int i = 0; i < 300; ++i) {
      const std::optional<std::string> text = ReadFileWithLimit(copy_pid_file_, 64);
      if (text && !text->empty()) {
        const DWORD id = static_cast<DWORD>(std::stoul(*text));
        return Process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id),
                       id);
      }
      Sleep(100);
    }
    return Process();
  }
  std::string CopyLog() const { return ReadFileWithLimit(copy_log_, 1 << 20).value_or(""); }
  bool CopyLogHas(const std::string& text) const {
    return CopyLog().find(text) != std::string::npos;
  }
  std::string SetupRecord() const {
    return ReadFileWithLimit(setup_record_, 1 << 20).value_or("");
  }

  const FilePath dir_ = testing::MakeScratchDir();
  const FilePath copy_log_ = dir_.Append(u"copy.log");
  const FilePath copy_pid_file_ = dir_.Append(u"copy.pid");
  const FilePath setup_record_ = dir_.Append(u"setup.json");
  const std::u16string fake_setup_ = UTF8ToUTF16(TL_FAKE_SETUP_EXE);
  std::vector<LogRecord> records_;
  WaitableEvent stop_{WaitableEvent::Reset::kManual};
};

TEST_F(ElevatedCopyTest, ReleasedCopyRunsSetupAndReportsToTheFirstInstallersWindow) {
  ProgressWindow window;
  ASSERT_TRUE(window.window()) << "window tests need a display";
  SetSetupExitCode(0);
  auto installer = StartCopy("setup", window.window());
  ASSERT_TRUE(installer);
  ASSERT_TRUE(HandOverArchive(installer.get(), fake_setup_));
  EXPECT_TRUE(installer->RunModule(stop_.handle()));
  EXPECT_EQ(installer->exit_code(), 0);
  EXPECT_EQ(GetFailureKind(), FailureKind::kNone);

  EXPECT_TRUE(CopyLogHas("Start installer as admin"));
  EXPECT_TRUE(CopyLogHas("RunModule results: success=1 error_code=0 (ExecuteAsAdmin:"));
  // Setup ran from the handed-over archive with the block's values.
  const std::string record = SetupRecord();
  EXPECT_NE(record.find("--source=lite"), std::string::npos) << record;
  EXPECT_NE(record.find("--histogram-download-time=12"), std::string::npos) << record;
  EXPECT_EQ(record.find("fake_browser_arc"), std::string::npos) << record;
  // The copy's delegate reached this process's window.
  Sleep(200);
  EXPECT_EQ(window.progress(), std::vector<WPARAM>{40});
  EXPECT_FALSE(window.cancel_visible());
}

TEST_F(ElevatedCopyTest, SetupFailureReachesTheFirstInstallerAsFailureKind) {
  SetSetupExitCode(7);
  auto installer = StartCopy("setup", nullptr);
  ASSERT_TRUE(installer);
  ASSERT_TRUE(HandOverArchive(installer.get(), fake_setup_));
  SetFailureKind(FailureKind::kNone);
  EXPECT_FALSE(installer->RunModule(stop_.handle()));
  EXPECT_EQ(installer->exit_code(), -1);
  EXPECT_EQ(GetFailureKind(), FailureKind::kSetupExit7);
  EXPECT_TRUE(CopyLogHas("RunModule results: success=0 error_code=7"));
}

TEST_F(ElevatedCopyTest, MissingArchiveEndsTheCopy) {
  const std::u16string missing = dir_.Append(u"missing_setup.exe").value();
  auto installer = StartCopy("setup", nullptr);
  ASSERT_TRUE(installer);
  EXPECT_FALSE(HandOverArchive(installer.get(), missing));
  EXPECT_FALSE(installer->RunModule(stop_.handle()));
  EXPECT_EQ(installer->exit_code(), -1);
  EXPECT_TRUE(CopyLogHas("Browser archive " + UTF16ToUTF8(missing) + " does not exist"));
  EXPECT_FALSE(CopyLogHas("RunModule results"));
}

TEST_F(ElevatedCopyTest, UnreleasedCopyEndsAtOnceWhenTheFirstInstallerGivesUp) {
  auto installer = StartCopy("setup", nullptr);
  ASSERT_TRUE(installer);
  Process copy = OpenCopy();
  ASSERT_TRUE(copy.is_valid());
  const ULONGLONG before = GetTickCount64();
  installer.reset();
  EXPECT_LT(GetTickCount64() - before, 10000u);
  int code = 0;
  ASSERT_TRUE(copy.WaitForExit(0, &code));
  EXPECT_EQ(code, -1);
  EXPECT_TRUE(CopyLogHas("Installer started as admin has been unexpectedly synced, wr=1"));
  EXPECT_TRUE(SetupRecord().empty()) << "setup never ran";
}

TEST_F(ElevatedCopyTest, CopyEndsWhenTheFirstInstallerDies) {
  Process first = testing::StartChild("first-installer", CopySwitches("setup"));
  ASSERT_TRUE(first.is_valid());
  Process copy = OpenCopy();
  ASSERT_TRUE(copy.is_valid());
  Sleep(300);  // the copy is waiting now, or about to
  first.Terminate(9);
  int code = 0;
  ASSERT_TRUE(copy.WaitForExit(30000, &code));
  EXPECT_EQ(code, -1);
  EXPECT_TRUE(CopyLogHas("Installer started as admin has been unexpectedly synced, wr=2"));
}

// The one test that waits the real 30 seconds.
TEST_F(ElevatedCopyTest, CopyHangingAfterStopIsTerminatedAfterThirtySeconds) {
  auto installer = StartCopy("hang", nullptr);
  ASSERT_TRUE(installer);
  ASSERT_TRUE(HandOverArchive(installer.get(), fake_setup_));
  Process copy = OpenCopy();
  ASSERT_TRUE(copy.is_valid());
  bool released_ok = true;
  std::thread worker([&] { released_ok = installer->RunModule(stop_.handle()); });
  for (int i = 0; i < 300 && !CopyLogHas(kHangMarker); ++i) Sleep(100);
  EXPECT_TRUE(CopyLogHas(kHangMarker));
  stop_.Signal();
  worker.join();
  EXPECT_FALSE(released_ok);
  EXPECT_TRUE(HasRecord(records_, "The elevated installer was terminated due to stop event.",
                        "RunModule"));

  const ULONGLONG before = GetTickCount64();
  installer->EnsureProcessFinished();
  const ULONGLONG waited = GetTickCount64() - before;
  EXPECT_GE(waited, 29900u);
  EXPECT_LT(waited, 40000u);
  EXPECT_TRUE(installer->terminated());
  EXPECT_TRUE(HasRecord(records_, "The elevated installer hangs and must be forcibly terminated.",
                        "EnsureProcessFinished"));
  int code = -1;
  ASSERT_TRUE(copy.WaitForExit(5000, &code));
  EXPECT_EQ(code, 0);
}

TEST_F(ElevatedCopyTest, UnreadableParentIdFailsTheWaitAtOnce) {
  InstallerCommandLine command_line;
  command_line.AppendSwitchASCII("run-as-admin", "");
  command_line.AppendSwitchASCII("parent-installer-process-id", "abc");
  command_line.AppendSwitchValue("setup-cmd-line", u"fake_browser_arc");
  bool ran = false;
  auto runner = [&](InstallerDelegate&, const std::u16string&, const InstallerCommandLine&,
                    int32_t*) { return ran = true; };
  EXPECT_EQ(ExecuteAsAdmin(command_line, runner), -1);
  EXPECT_FALSE(ran);
  EXPECT_TRUE(HasRecord(records_, "Suspicious process id=abc", "ExecuteAsAdmin"));
  EXPECT_TRUE(HasRecord(records_,
                        "Installer started as admin has been unexpectedly synced, wr=4294967295",
                        "ExecuteAsAdmin"));
}

// The copy's sequence in this process, released at once: the handoff is
// taken out of this process as it would be out of the first installer.
int RunCopyHere(const DelayedParamsValues& values, const ElevatedSetupRunner& runner,
                const std::vector<std::pair<std::string, FilePath>>& files = {}) {
  ElevationHandoff handoff;
  handoff.HandOver(values, FilePath(values.browser_arc_path), files);
  SetEvent(handoff.start_event());
  InstallerCommandLine command_line;
  command_line.AppendSwitchASCII("run-as-admin", "");
  command_line.AppendSwitchASCII("parent-installer-process-id",
                                 std::to_string(GetCurrentProcessId()));
  command_line.AppendSwitchValue("setup-cmd-line", u"fake_browser_arc");
  command_line.AppendSwitchASCII("elevation-handoff", handoff.SwitchValue());
  return ExecuteAsAdmin(command_line, runner);
}

// The archive folders the copy has left under the system's temporary folder.
size_t ProtectedFoldersLeft() {
  WIN32_FIND_DATAW found;
  ScopedFindHandle find(
      FindFirstFileW(AsWide(GetSystemTempDir().Append(u"tl*").value()), &found));
  size_t count = 0;
  if (find) {
    do count += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    while (FindNextFileW(find.get(), &found));
  }
  return count;
}

// Any process that maps the installer file can write the block: the copy,
// which runs with rights, takes only paths to files on a local drive.
TEST_F(ElevatedCopyTest, PathsFromTheBlockMustBeAbsoluteAndLocal) {
  struct Case {
    std::u16string archive;
    std::u16string installer_data;
  };
  const Case cases[] = {
      {u"\\\\127.0.0.1\\share\\setup.exe", u""},
      {u"\\\\?\\" + fake_setup_, u""},
      {u"\\\\.\\" + fake_setup_, u""},
      {u"setup.exe", u""},
      {fake_setup_, u"\\\\127.0.0.1\\share\\installerdata"},
      {fake_setup_, u"installerdata"},
  };
  for (const Case& c : cases) {
    DelayedParamsValues values;
    values.browser_arc_path = c.archive;
    values.installer_data_path = c.installer_data;
    records_.clear();
    bool ran = false;
    auto runner = [&](InstallerDelegate&, const std::u16string&, const InstallerCommandLine&,
                      int32_t*) { return ran = true; };
    EXPECT_EQ(RunCopyHere(values, runner), -1) << UTF16ToUTF8(c.archive);
    EXPECT_FALSE(ran) << UTF16ToUTF8(c.archive);
    bool refused = false;
    for (const LogRecord& r : records_) {
      refused |= r.message.find(" is not an absolute local path") != std::string::npos;
    }
    EXPECT_TRUE(refused) << UTF16ToUTF8(c.archive) << " " << UTF16ToUTF8(c.installer_data);
  }
}

// The copy runs its own copy of the archive, in a folder of its own, held
// so that nobody can change it between the check and the launch; the path
// it was handed is only read.
TEST_F(ElevatedCopyTest, CopyRunsExactlyTheArchiveItVerified) {
  const FilePath source = dir_.Append(u"tq1A2B.tmp");
  ASSERT_TRUE(CopyFileW(AsWide(fake_setup_), AsWide(source.value()), FALSE));
  DelayedParamsValues values;
  values.browser_arc_path = source.value();
  const size_t folders_before = ProtectedFoldersLeft();
  FilePath ran;
  auto runner = [&](InstallerDelegate&, const std::u16string& archive,
                    const InstallerCommandLine& setup_command_line, int32_t* result_code) {
    ran = FilePath(archive);
    EXPECT_EQ(setup_command_line.GetProgram(), archive);
    const ScopedHandle writer(CreateFileW(AsWide(archive), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(writer.is_valid());
    EXPECT_FALSE(MoveFileExW(AsWide(source.value()), AsWide(archive), MOVEFILE_REPLACE_EXISTING));
    EXPECT_FALSE(DeleteFileW(AsWide(archive)));
    *result_code = 0;
    return true;
  };
  EXPECT_EQ(RunCopyHere(values, runner), 0);
  EXPECT_NE(ran.value(), source.value());
  EXPECT_EQ(ran.BaseName(), source.BaseName());
  EXPECT_EQ(UTF16ToUTF8(ran.DirName().DirName().value()),
            UTF16ToUTF8(GetSystemTempDir().value()));
  EXPECT_EQ(ran.DirName().BaseName().substr(0, 2), u"tl");
  EXPECT_TRUE(HasRecord(records_, "File successfully verified with sha256. " + UTF16ToUTF8(ran.value()),
                        "VerifyModuleImpl"));
  // The folder goes once setup has ended.
  EXPECT_FALSE(PathExists(ran));
  EXPECT_FALSE(PathExists(ran.DirName()));
  EXPECT_EQ(ProtectedFoldersLeft(), folders_before);
  EXPECT_TRUE(PathExists(source));
}

TEST_F(ElevatedCopyTest, UnverifiedArchiveNeverRunsAndLeavesNothing) {
  const FilePath unsigned_archive = dir_.Append(u"tq3C4D.tmp");
  ASSERT_TRUE(CopyFileW(AsWide(GetExecutablePath().value()), AsWide(unsigned_archive.value()),
                        FALSE));
  DelayedParamsValues values;
  values.browser_arc_path = unsigned_archive.value();
  const size_t folders_before = ProtectedFoldersLeft();
  bool ran = false;
  auto runner = [&](InstallerDelegate&, const std::u16string&, const InstallerCommandLine&,
                    int32_t*) { return ran = true; };
  EXPECT_EQ(RunCopyHere(values, runner), -1);
  EXPECT_FALSE(ran);
  bool refused = false;
  for (const LogRecord& r : records_) {
    refused |= r.message.rfind("Module verification failed: ", 0) == 0;
  }
  EXPECT_TRUE(refused);
  EXPECT_EQ(ProtectedFoldersLeft(), folders_before);
}

// Names another process could create and signal before the first installer:
// those of the events an earlier hand-off used. Neither starts the copy nor
// ends it; only the first installer's own events do.
TEST_F(ElevatedCopyTest, EventsMadeByAnotherProcessNeitherReleaseNorEndTheCopy) {
  for (const char* name : {"6b1d2e4f-93a7-4c58-8e21-0fd4a7b3c965",
                           "a4c7e913-5d28-4f6b-b0e3-81c2f7d65a04"}) {
    const ScopedHandle squatted(CreateEventA(nullptr, FALSE, TRUE, name));
    ASSERT_TRUE(squatted.is_valid()) << name;
    SetSetupExitCode(0);
    DeleteFileIfExists(copy_pid_file_);
    auto installer = StartCopy("setup", nullptr);
    ASSERT_TRUE(installer);
    Process copy = OpenCopy();
    ASSERT_TRUE(copy.is_valid()) << name;
    SetEvent(squatted.get());
    int code = 0;
    EXPECT_FALSE(copy.WaitForExit(1500, &code)) << name << ": the copy ended with " << code;
    EXPECT_TRUE(SetupRecord().empty()) << name;
    ASSERT_TRUE(HandOverArchive(installer.get(), fake_setup_));
    EXPECT_TRUE(installer->RunModule(stop_.handle())) << name;
    EXPECT_EQ(installer->exit_code(), 0) << name;
    EXPECT_FALSE(SetupRecord().empty()) << name;
    DeleteFileIfExists(setup_record_);
  }
}

// The shared block is written by whoever maps the installer file; what it
// says after the hand-off changes nothing the copy does.
TEST_F(ElevatedCopyTest, SharedBlockWrittenByAnotherProcessIsNotRead) {
  SetSetupExitCode(0);
  auto installer = StartCopy("setup", nullptr);
  ASSERT_TRUE(installer);
  ASSERT_TRUE(HandOverArchive(installer.get(), fake_setup_));
  const FilePath unsigned_archive = dir_.Append(u"tq5E6F.tmp");
  ASSERT_TRUE(CopyFileW(AsWide(GetExecutablePath().value()), AsWide(unsigned_archive.value()),
                        FALSE));
  DelayedParamsValues planted;
  planted.browser_arc_path = unsigned_archive.value();
  planted.installer_data_path = u"C:\\planted\\master_preferences";
  planted.histogram_download_time = u"99";
  ASSERT_TRUE(WriteDelayedParams(planted));
  SetFailureKind(FailureKind::kSetupExit8);
  EXPECT_TRUE(installer->RunModule(stop_.handle()));
  EXPECT_EQ(installer->exit_code(), 0);
  // The copy's answer replaced what was planted in this process's block.
  EXPECT_EQ(GetFailureKind(), FailureKind::kNone);
  const std::string record = SetupRecord();
  EXPECT_NE(record.find("--histogram-download-time=12"), std::string::npos) << record;
  EXPECT_EQ(record.find("planted"), std::string::npos) << record;
}

// Every file setup is handed is the copy's own, in the protected folder,
// held against writers while setup runs; the files it was copied from,
// links to files elsewhere among them, stay as they were.
TEST_F(ElevatedCopyTest, SetupGetsOnlyCopiesInTheProtectedFolder) {
  const FilePath outside = dir_.Append(u"outside.txt");
  ASSERT_TRUE(WriteWholeFile(outside, "outside"));
  const FilePath linked_prefs = dir_.Append(u"master_preferences");
  ASSERT_TRUE(CreateHardLinkW(AsWide(linked_prefs.value()), AsWide(outside.value()), nullptr));
  struct Case {
    const char* name;
    std::string content;  // none: no file is handed under that name
    bool handed;
    bool kept;  // on setup's command line
  };
  const Case cases[] = {
      {"installerdata", "outside", true, true},
      {"clids-file", "<vendor/>", true, true},
      {"tolvar-website-icon-file", "", true, false},  // empty: setup gets no icon
      {"brand-package", "cab", true, true},
      {"partner-package", "cab2", false, false},  // not handed over: dropped
  };
  const FilePath archive = dir_.Append(u"tq7A8B.tmp");
  ASSERT_TRUE(CopyFileW(AsWide(fake_setup_), AsWide(archive.value()), FALSE));
  DelayedParamsValues values;
  values.browser_arc_path = archive.value();
  std::vector<std::pair<std::string, FilePath>> files;
  for (const Case& c : cases) {
    const FilePath path = std::string_view(c.name) == "installerdata"
                              ? linked_prefs
                              : dir_.Append(UTF8ToUTF16(std::string(c.name) + ".dat"));
    if (path.value() != linked_prefs.value()) {
      ASSERT_TRUE(WriteWholeFile(path, c.content));
    }
    if (c.handed) files.emplace_back(c.name, path);
    const std::u16string& value = path.value();
    const std::string_view name(c.name);
    if (name == "installerdata") values.installer_data_path = value;
    if (name == "clids-file") values.clids_file_path = value;
    if (name == "tolvar-website-icon-file") values.tolvar_website_icon_file_path = value;
    if (name == "brand-package") values.brand_package_path = value;
    if (name == "partner-package") values.partner_package_path = value;
  }
  FilePath folder;
  auto runner = [&](InstallerDelegate&, const std::u16string& ran,
                    const InstallerCommandLine& line, int32_t* result_code) {
    folder = FilePath(ran).DirName();
    for (const Case& c : cases) {
      const std::u16string path = line.GetSwitchValue(c.name);
      EXPECT_EQ(!path.empty(), c.kept) << c.name;
      if (path.empty()) continue;
      EXPECT_EQ(FilePath(path).DirName().value(), folder.value()) << c.name;
      EXPECT_EQ(ReadFileWithLimit(FilePath(path), 100), std::optional<std::string>(c.content))
          << c.name;
      const ScopedHandle writer(CreateFileW(AsWide(path), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE |
                                                FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, 0, nullptr));
      EXPECT_FALSE(writer.is_valid()) << c.name;
    }
    *result_code = 0;
    return true;
  };
  EXPECT_EQ(RunCopyHere(values, runner, files), 0);
  EXPECT_EQ(UTF16ToUTF8(folder.DirName().value()), UTF16ToUTF8(GetSystemTempDir().value()));
  EXPECT_FALSE(PathExists(folder));
  EXPECT_EQ(ReadFileWithLimit(outside, 100), std::optional<std::string>("outside"));
  EXPECT_TRUE(HasRecord(records_, "Data file partner-package=", "ExecuteAsAdmin"));
}

}  // namespace
}  // namespace lite
