#include "installer/run/delay_load_hook_win.h"

#include <gtest/gtest.h>

#include "base/structured_exception_guard_win.h"
#include "tests/support/child_process_win.h"

// Bound through delay-import libraries made for this test: a DLL that does
// not exist, and a function that version.dll does not have.
extern "C" __declspec(dllimport) int TlAbsentFunction();
extern "C" __declspec(dllimport) int TlNoSuchVersionFunction();

namespace lite {
namespace {

// Without the hook the runtime would raise its delay-load exception, which
// the guard turns into exit code 77; the hook ends the process first.
int CallGuarded(int (*function)()) {
  StructuredException exception;
  return RunWithExceptionGuard([function] { function(); }, &exception) ? 0 : 77;
}
int CallAbsentDll(const std::vector<std::u16string>&) { return CallGuarded(TlAbsentFunction); }
int CallMissingFunction(const std::vector<std::u16string>&) {
  return CallGuarded(TlNoSuchVersionFunction);
}
TL_CHILD_PROCESS("call-absent-dll", CallAbsentDll);
TL_CHILD_PROCESS("call-missing-function", CallMissingFunction);

TEST(DelayLoadHookTest, MissingDllOrFunctionEndsTheProcess) {
  // "--silent" on the command line: no message box.
  EXPECT_EQ(static_cast<uint32_t>(testing::RunChild("call-absent-dll", {u"--silent"})),
            0xC06D007Eu);
  EXPECT_EQ(static_cast<uint32_t>(testing::RunChild("call-missing-function", {u"--silent"})),
            0xC06D007Fu);
}

TEST(DelayLoadHookTest, FailureTexts) {
  EXPECT_EQ(DelayLoadFailureText("gdiplus.dll", ""), "Windows dll is not found: gdiplus.dll");
  EXPECT_EQ(DelayLoadFailureText("version.dll", "GetFileVersionInfoW"),
            "Function GetFileVersionInfoW not found in Windows dll version.dll");
  EXPECT_STREQ(LastDelayLoadFailure(), "");
}

}  // namespace
}  // namespace lite
