#include "base/process_win.h"

#include <gtest/gtest.h>

#include "base/utf.h"
#include "base/waitable_event_win.h"
#include "base/thread_win.h"
#include "base/windows_version_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace {

int ExitWithArgument(const std::vector<std::u16string>& args) {
  return args.empty() ? 0 : std::stoi(UTF16ToUTF8(args[0]));
}
TL_CHILD_PROCESS("exit-with", ExitWithArgument);

int WaitForNamedEvent(const std::vector<std::u16string>& args) {
  WaitableEvent event(WaitableEvent::Reset::kManual, false, args.at(0));
  return event.Wait(30000) ? 5 : 6;
}
TL_CHILD_PROCESS("wait-for-event", WaitForNamedEvent);

TEST(ProcessTest, ExitCodesPassThroughWhole) {
  // Whole 32-bit codes, negative ones included, not just the low byte.
  EXPECT_EQ(testing::RunChild("exit-with", {u"400"}), 400);
  EXPECT_EQ(testing::RunChild("exit-with", {u"-200"}), -200);
  EXPECT_EQ(testing::RunChild("exit-with", {u"0"}), 0);
}

TEST(ProcessTest, WaitTimesOutWhileTheChildRuns) {
  const std::u16string name = u"Local\\tl-process-test-event";
  WaitableEvent go(WaitableEvent::Reset::kManual, false, name);
  Process child = testing::StartChild("wait-for-event", {name});
  ASSERT_TRUE(child.is_valid());
  int code = -1;
  EXPECT_FALSE(child.WaitForExit(200, &code));
  go.Signal();
  ASSERT_TRUE(child.WaitForExit(30000, &code));
  EXPECT_EQ(code, 5);
}

TEST(ProcessTest, StartingAMissingProgramFails) {
  EXPECT_FALSE(LaunchProcess(u"C:\\no\\such\\program.exe").is_valid());
}

TEST(WaitableEventTest, ManualStaysSetAutomaticResetsItself) {
  WaitableEvent manual(WaitableEvent::Reset::kManual);
  WaitableEvent automatic(WaitableEvent::Reset::kAutomatic);
  EXPECT_FALSE(manual.IsSignaled());
  manual.Signal();
  EXPECT_TRUE(manual.IsSignaled());
  EXPECT_TRUE(manual.IsSignaled());
  automatic.Signal();
  EXPECT_TRUE(automatic.IsSignaled());
  EXPECT_FALSE(automatic.IsSignaled());
  const HANDLE both[] = {automatic.handle(), manual.handle()};
  EXPECT_EQ(WaitForAny(both, 2, 0), 1);
}

TEST(ThreadTest, RunsJoinsAndTerminates) {
  int value = 0;
  Thread quick;
  ASSERT_TRUE(quick.Start([&value] { value = 42; }));
  EXPECT_TRUE(quick.Join(10000));
  EXPECT_EQ(value, 42);

  WaitableEvent never(WaitableEvent::Reset::kManual);
  Thread stuck;
  ASSERT_TRUE(stuck.Start([&never] { never.Wait(); }));
  EXPECT_FALSE(stuck.Join(100));
  EXPECT_TRUE(stuck.is_running());
  stuck.Terminate(1);
  EXPECT_FALSE(stuck.is_running());
}

TEST(WindowsVersionTest, PrefixReportsWindows10) {
  // The test prefix is made as Windows 10; the manifest-free test binary must
  // still see the true version.
  const WindowsVersion& version = GetWindowsVersion();
  EXPECT_EQ(version.major, 10u);
  EXPECT_TRUE(version.IsVistaOrLater());
  EXPECT_TRUE(version.IsWin10OrLater());
  EXPECT_FALSE(version.IsWin8Or81());
  EXPECT_GT(version.build, 0u);
}

}  // namespace
}  // namespace lite
