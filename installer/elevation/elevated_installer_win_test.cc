#include "installer/elevation/elevated_installer_win.h"

#include <gtest/gtest.h>

#include <thread>

#include "base/file_util_win.h"
#include "base/utf.h"
#include "base/waitable_event_win.h"
#include "installer/command_line/process_command_line.h"
#include "logging/logger.h"
#include "logging/recording_logger_for_testing.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

// Stands in for the copy's wait on the events it takes out of the first
// installer (args: its process id and the handoff): 10 when released, 20
// when aborted.
int WaitForHandoff(const std::vector<std::u16string>& args) {
  const ScopedHandle parent(OpenProcess(SYNCHRONIZE | PROCESS_DUP_HANDLE, FALSE,
                                        std::stoul(UTF16ToUTF8(args.at(0)))));
  const ReceivedHandoff handoff(parent.get(), UTF16ToUTF8(args.at(1)));
  const HANDLE handles[] = {handoff.start_event(), handoff.abort_event()};
  switch (WaitForMultipleObjects(2, handles, FALSE, 60000)) {
    case WAIT_OBJECT_0: return 10;
    case WAIT_OBJECT_0 + 1: return 20;
    default: return 30;
  }
}
TL_CHILD_PROCESS("handoff-wait", WaitForHandoff);

int ExitWithFirstArgument(const std::vector<std::u16string>& args) {
  return std::stoi(UTF16ToUTF8(args.at(0)));
}
TL_CHILD_PROCESS("exit-with", ExitWithFirstArgument);

int ExitAfterAWhile(const std::vector<std::u16string>&) {
  Sleep(300);
  return 0;
}
TL_CHILD_PROCESS("exit-after-a-while", ExitAfterAWhile);

int Hang(const std::vector<std::u16string>&) {
  Sleep(INFINITE);
  return 0;
}
TL_CHILD_PROCESS("hang", Hang);

int ReportRunAsAdminSwitches(const std::vector<std::u16string>&) {
  const InstallerCommandLine& command_line = ProcessCommandLine();
  const bool expected =
      command_line.HasSwitch("run-as-admin") && command_line.HasSwitch("kept") &&
      command_line.GetSwitchValue("setup-cmd-line") == u"C:\\a b\\setup.exe --x=\"1 2\"" &&
      command_line.GetSwitchValueASCII("parent-installer-process-id") ==
          UTF16ToUTF8(command_line.GetSwitchValue("expected-parent"));
  return expected ? 0 : 1;
}
TL_CHILD_PROCESS("report-switches", ReportRunAsAdminSwitches);

// |child|'s handle for an owner that closes it.
HANDLE DuplicateProcessHandle(const Process& child) {
  HANDLE copy = nullptr;
  DuplicateHandle(GetCurrentProcess(), child.handle(), GetCurrentProcess(), &copy, 0, FALSE,
                  DUPLICATE_SAME_ACCESS);
  return copy;
}

class ElevatedInstallerTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGlobalLogger(std::make_unique<RecordingLogger>(&records_)); }
  void TearDown() override { SetGlobalLogger(nullptr); }

  // A holder whose copy is a "handoff-wait" child.
  std::unique_ptr<ElevatedInstaller> HoldWaiter(Process* child) {
    auto installer = std::make_unique<ElevatedInstaller>();
    *child = testing::StartChild(
        "handoff-wait", {UTF8ToUTF16(std::to_string(GetCurrentProcessId())),
                         UTF8ToUTF16(installer->handoff().SwitchValue())});
    installer->SetProcess(DuplicateProcessHandle(*child), nullptr);
    return installer;
  }

  std::unique_ptr<ElevatedInstaller> Hold(const Process& child, DWORD finish_timeout_ms = 30000) {
    auto installer = std::make_unique<ElevatedInstaller>(finish_timeout_ms);
    installer->SetProcess(DuplicateProcessHandle(child), nullptr);
    return installer;
  }

  std::vector<LogRecord> records_;
  WaitableEvent stop_{WaitableEvent::Reset::kManual};
};

TEST_F(ElevatedInstallerTest, ReleasedCopyReportsItsExitCode) {
  for (int code : {0, 3}) {
    Process child = testing::StartChild("exit-with", {UTF8ToUTF16(std::to_string(code))});
    ASSERT_TRUE(child.is_valid());
    auto installer = Hold(child);
    EXPECT_EQ(installer->exit_code(), -1);
    EXPECT_EQ(installer->RunModule(stop_.handle()), code == 0);
    EXPECT_TRUE(installer->started());
    EXPECT_EQ(installer->exit_code(), code);
  }
}

TEST_F(ElevatedInstallerTest, StartEventReleasesAndDestructionUnreleasedAborts) {
  Process released;
  auto installer = HoldWaiter(&released);
  EXPECT_TRUE(installer->RunModule(stop_.handle()) == false);  // the child's 10
  EXPECT_EQ(installer->exit_code(), 10);

  Process aborted;
  installer = HoldWaiter(&aborted);
  Sleep(300);  // let the child open the events and wait
  const ULONGLONG before = GetTickCount64();
  installer.reset();
  EXPECT_LT(GetTickCount64() - before, 10000u) << "the copy ended at the abort, no 30 s wait";
  int code = 0;
  ASSERT_TRUE(aborted.WaitForExit(0, &code));
  EXPECT_EQ(code, 20);
  EXPECT_FALSE(HasRecord(records_, "The elevated installer hangs", "EnsureProcessFinished"));
}

struct StopCase {
  const char* name;
  const char* child;
  DWORD finish_timeout_ms;
  bool released_ok;  // RunModule's result
  int exit_code;     // the copy's, as the engine sees it
  bool terminated;   // by the stop, and again once it hung
};

void PrintTo(const StopCase& c, std::ostream* out) { *out << c.name; }

class ElevatedInstallerStopTest : public ElevatedInstallerTest,
                                  public ::testing::WithParamInterface<StopCase> {};

// The engine stops (its window closed) while the copy runs: the wait ends,
// and a copy that does not end in time is terminated.
TEST_P(ElevatedInstallerStopTest, StopEventEndsTheWait) {
  const StopCase& c = GetParam();
  Process child = testing::StartChild(c.child, {});
  auto installer = Hold(child, c.finish_timeout_ms);
  stop_.Signal();
  EXPECT_EQ(installer->RunModule(stop_.handle()), c.released_ok);
  EXPECT_EQ(installer->exit_code(), c.exit_code);
  EXPECT_EQ(HasRecord(records_, "The elevated installer was terminated due to stop event.",
                      "RunModule"),
            c.terminated);
  installer->EnsureProcessFinished();
  EXPECT_EQ(installer->terminated(), c.terminated);
  EXPECT_EQ(HasRecord(records_, "The elevated installer hangs and must be forcibly terminated.",
                      "EnsureProcessFinished"),
            c.terminated);
  int code = -1;
  ASSERT_TRUE(child.WaitForExit(5000, &code));
  EXPECT_EQ(code, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Copies, ElevatedInstallerStopTest,
    ::testing::Values(
        // Setup in the copy closes the window, which stops the engine, just
        // before the copy exits: its success stands.
        StopCase{"CopyEndingJustAfterTheStopKeepsItsResult", "exit-after-a-while", 30000, true,
                 0, false},
        StopCase{"HangingCopyIsTerminated", "hang", 500, false, -1, true}),
    [](const ::testing::TestParamInfo<StopCase>& info) { return info.param.name; });

TEST_F(ElevatedInstallerTest, OwnerWindowIsDestroyedAlsoFromAnotherThread) {
  HWND same_thread = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                     nullptr, nullptr);
  ASSERT_TRUE(same_thread) << "window tests need a display";
  auto installer = std::make_unique<ElevatedInstaller>();
  installer->SetProcess(nullptr, same_thread);
  installer.reset();
  EXPECT_FALSE(IsWindow(same_thread));

  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_TRUE(window);
  installer = std::make_unique<ElevatedInstaller>();
  installer->SetProcess(nullptr, window);
  std::thread([&] { installer.reset(); }).join();
  EXPECT_TRUE(IsWindow(window)) << "only this thread can destroy it";
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(ElevatedInstallerTest, CopyStartsWithTheHandoffSwitchesOnTopOfTheGivenOnes) {
  InstallerCommandLine command_line;
  command_line.SetProgram(GetExecutablePath().value());
  command_line.AppendSwitchASCII("child", "report-switches");
  command_line.AppendSwitch("kept");
  command_line.AppendSwitchASCII("expected-parent", std::to_string(GetCurrentProcessId()));
  bool access_denied = true;
  auto installer =
      StartElevatedCopy(command_line, u"C:\\a b\\setup.exe --x=\"1 2\"", &access_denied);
  ASSERT_TRUE(installer);
  EXPECT_FALSE(access_denied);
  EXPECT_TRUE(installer->RunModule(stop_.handle()));
  EXPECT_EQ(installer->exit_code(), 0);
}

// An EnumWindows callback (stdcall, which a lambda is not on x86): asks
// this process's dialogs to close.
BOOL CALLBACK CloseIfOwnDialog(HWND window, LPARAM) {
  DWORD owner = 0;
  wchar_t class_name[16] = {};
  GetWindowThreadProcessId(window, &owner);
  GetClassNameW(window, class_name, 16);
  if (owner == GetCurrentProcessId() && wcscmp(class_name, L"#32770") == 0) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

// Closes the dialogs of this process until |done| is set.
void CloseDialogsUntil(const WaitableEvent& done) {
  while (!done.Wait(100)) EnumWindows(&CloseIfOwnDialog, 0);
}

TEST_F(ElevatedInstallerTest, FailedStartIsNoRefusedPrompt) {
  InstallerCommandLine command_line;
  command_line.SetProgram(testing::MakeScratchDir().Append(u"missing.exe").value());
  bool access_denied = true;
  // The shell tells the user about the missing file in a message box.
  WaitableEvent done(WaitableEvent::Reset::kManual);
  std::thread closer([&] { CloseDialogsUntil(done); });
  EXPECT_EQ(StartElevatedCopy(command_line, u"setup.exe", &access_denied), nullptr);
  done.Signal();
  closer.join();
  EXPECT_FALSE(access_denied);
  EXPECT_TRUE(HasRecord(records_, "Cannot start the installer as admin - ", "StartElevatedCopy"));
}

}  // namespace
}  // namespace lite
