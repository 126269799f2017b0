#include "base/structured_exception_guard_win.h"

#include <windows.h>
#include <delayimp.h>

#include <stdexcept>
#include <thread>

#include "gtest/gtest.h"

namespace lite {
namespace {

void WriteThroughNull() {
  volatile int* volatile pointer = nullptr;
  *pointer = 1;
}

// The delay-load helper's report of a missing module, as it raises it.
void RaiseDelayLoadFailure(DWORD code, const char* dll, const char* function, DWORD ordinal) {
  DelayLoadInfo info = {};
  info.cb = sizeof(info);
  info.szDll = dll;
  info.dlp.fImportByName = function != nullptr;
  if (function) {
    info.dlp.szProcName = function;
  } else {
    info.dlp.dwOrdinal = ordinal;
  }
  info.dwLastError = ERROR_MOD_NOT_FOUND;
  ULONG_PTR arguments[1] = {reinterpret_cast<ULONG_PTR>(&info)};
  RaiseException(code, 0, 1, arguments);
}

TEST(StructuredExceptionGuardTest, ReportsRaisedExceptionsAndRecovers) {
  StructuredException exception;
  exception.code = 7;
  int ran = 0;
  EXPECT_TRUE(RunWithExceptionGuard([&] { ++ran; }, &exception));
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(exception.code, 0u);

  // Many rounds: a recovery that leaked stack or left the guard installed
  // would show within them.
  for (int round = 0; round < 200; ++round) {
    EXPECT_FALSE(RunWithExceptionGuard(WriteThroughNull, &exception));
    ASSERT_EQ(exception.code, 0xC0000005u);
    EXPECT_TRUE(exception.failed_module.empty());
  }

  EXPECT_FALSE(RunWithExceptionGuard(
      [] { RaiseDelayLoadFailure(0xC06D007E, "CPLIB.dll", "CryptoProProvider", 0); },
      &exception));
  EXPECT_EQ(exception.code, 0xC06D007Eu);
  EXPECT_EQ(exception.failed_module, "CPLIB.dll");
  EXPECT_EQ(exception.failed_function, "CryptoProProvider");

  EXPECT_FALSE(RunWithExceptionGuard(
      [] { RaiseDelayLoadFailure(0xC06D007E, "wininet.dll", nullptr, 12); }, &exception));
  EXPECT_EQ(exception.failed_module, "wininet.dll");
  EXPECT_EQ(exception.failed_function, "");

  // Raised as not continuable: the guard does not return to it either.
  EXPECT_FALSE(RunWithExceptionGuard(
      [] { RaiseException(0xC0000409, EXCEPTION_NONCONTINUABLE, 0, nullptr); }, &exception));
  EXPECT_EQ(exception.code, 0xC0000409u);

  // Procedure-not-found carries the same record, but names are kept only
  // for the module code.
  EXPECT_FALSE(RunWithExceptionGuard(
      [] { RaiseDelayLoadFailure(0xC06D007F, "wininet.dll", "InternetOpenW", 0); },
      &exception));
  EXPECT_EQ(exception.code, 0xC06D007Fu);
  EXPECT_TRUE(exception.failed_module.empty());
  EXPECT_TRUE(exception.failed_function.empty());
}

TEST(StructuredExceptionGuardTest, LeavesOtherExceptionsToTheirHandlers) {
  StructuredException exception;
  // Debug output is an exception that the system handles itself, and C++
  // exceptions are raised as application-coded exceptions too.
  EXPECT_TRUE(RunWithExceptionGuard([] { OutputDebugStringA("guarded\n"); }, &exception));
  bool caught = false;
  try {
    RunWithExceptionGuard([] { throw std::runtime_error("c++"); }, &exception);
  } catch (const std::runtime_error&) {
    caught = true;
  }
  EXPECT_TRUE(caught);

  // The inner guard takes the exception; the outer body goes on.
  bool outer_finished = false;
  StructuredException inner;
  EXPECT_TRUE(RunWithExceptionGuard(
      [&] {
        EXPECT_FALSE(RunWithExceptionGuard(WriteThroughNull, &inner));
        outer_finished = true;
      },
      &exception));
  EXPECT_TRUE(outer_finished);
  EXPECT_EQ(inner.code, 0xC0000005u);
  EXPECT_EQ(exception.code, 0u);
}

// Code inside the body that handles its own faults (here the system's
// probe of an unreadable address) finishes normally.
TEST(StructuredExceptionGuardTest, ExceptionsHandledInsideTheBodyStayThere) {
  StructuredException exception;
  void* reserved = VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
  ASSERT_NE(reserved, nullptr);
  BOOL bad = FALSE;
  EXPECT_TRUE(RunWithExceptionGuard([&] { bad = IsBadReadPtr(reserved, 4); }, &exception));
  EXPECT_TRUE(bad);
  VirtualFree(reserved, 0, MEM_RELEASE);
  EXPECT_EQ(exception.code, 0u);
}

TEST(StructuredExceptionGuardTest, EachThreadRecoversToItsOwnGuard) {
  StructuredException results[2];
  bool returned[2] = {true, true};
  auto run = [&](int index) {
    for (int round = 0; round < 100; ++round) {
      if (index == 0) {
        returned[0] = RunWithExceptionGuard(WriteThroughNull, &results[0]);
      } else {
        returned[1] = RunWithExceptionGuard(
            [] { RaiseDelayLoadFailure(0xC06D007E, "two.dll", "Two", 0); }, &results[1]);
      }
      if (returned[index]) return;
    }
  };
  std::thread first(run, 0);
  std::thread second(run, 1);
  first.join();
  second.join();
  EXPECT_FALSE(returned[0]);
  EXPECT_FALSE(returned[1]);
  EXPECT_EQ(results[0].code, 0xC0000005u);
  EXPECT_EQ(results[1].code, 0xC06D007Eu);
  EXPECT_EQ(results[1].failed_module, "two.dll");
}

}  // namespace
}  // namespace lite
