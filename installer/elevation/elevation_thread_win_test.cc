#include "installer/elevation/elevation_thread_win.h"

#include <objbase.h>

#include <atomic>

#include "gtest/gtest.h"

namespace lite {
namespace {

constexpr UINT kDoneMessage = WM_APP + 7;

// A message-only window of the test's thread and the done message's wParam
// once it has come.
class DoneWindow {
 public:
  DoneWindow()
      : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                nullptr, nullptr)) {}
  ~DoneWindow() { DestroyWindow(window_); }
  HWND hwnd() const { return window_; }

  // Pumps this thread's messages until the done message or |timeout_ms|.
  int WaitForDone(DWORD timeout_ms) {
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    while (GetTickCount64() < end) {
      MSG message;
      while (PeekMessageW(&message, window_, 0, 0, PM_REMOVE)) {
        if (message.message == kDoneMessage) return static_cast<int>(message.wParam);
        DispatchMessageW(&message);
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return -1;
  }

 private:
  const HWND window_;
};

TEST(ElevationThreadTest, PostsTheOutcomeFromAnotherThreadInsideAnApartment) {
  for (const bool outcome : {true, false}) {
    DoneWindow window;
    ASSERT_NE(window.hwnd(), nullptr);
    std::atomic<DWORD> ran_on{0};
    std::atomic<HRESULT> apartment{E_FAIL};
    ElevationThread thread;
    thread.Start(window.hwnd(), kDoneMessage, [&] {
      ran_on = GetCurrentThreadId();
      // S_FALSE: a single-threaded apartment was already there.
      apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      if (SUCCEEDED(apartment.load())) CoUninitialize();
      return outcome;
    });
    EXPECT_EQ(window.WaitForDone(5000), outcome ? 1 : 0) << outcome;
    thread.Join();
    EXPECT_NE(ran_on.load(), 0u);
    EXPECT_NE(ran_on.load(), GetCurrentThreadId());
    EXPECT_EQ(apartment.load(), S_FALSE);
  }
}

TEST(ElevationThreadTest, DestructionWaitsForAStartUnderWay) {
  std::atomic<bool> finished{false};
  {
    ElevationThread thread;
    thread.Start(nullptr, kDoneMessage, [&] {
      Sleep(200);
      finished = true;
      return true;
    });
  }
  EXPECT_TRUE(finished.load());
}

}  // namespace
}  // namespace lite
