// The prompt between a transfer's thread and the window's: the question is
// shown on the window's thread over the window, the answer comes back to the
// asking thread, and a window that is not there never holds the asker.
#include "ui/main_window/window_proxy_prompt_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <ostream>
#include <thread>
#include <vector>

namespace lite {
namespace {

constexpr UINT kPromptMessage = WM_APP + 7;

// What the stand-in for the system prompt saw, and what it answers.
struct DialogRecord {
  std::atomic<DWORD> thread{0};
  std::atomic<HWND> owner{nullptr};
  std::atomic<HINTERNET> request{nullptr};
  std::atomic<int> shown{0};
  std::atomic<int> depth{0};
  std::atomic<int> max_depth{0};
  std::atomic<DWORD> result{ERROR_INTERNET_FORCE_RETRY};
  // How long the prompt stays up, pumping messages as a modal loop does.
  std::atomic<DWORD> up_ms{0};
};
DialogRecord* g_record = nullptr;

DWORD FakeDialog(HWND owner, HINTERNET request) {
  DialogRecord& record = *g_record;
  const int depth = ++record.depth;
  record.max_depth = std::max(record.max_depth.load(), depth);
  record.thread = GetCurrentThreadId();
  record.owner = owner;
  record.request = request;
  ++record.shown;
  const ULONGLONG end = GetTickCount64() + record.up_ms;
  while (GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(5);
  }
  --record.depth;
  return record.result;
}

WindowProxyPrompt* g_prompt = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kPromptMessage) {
    g_prompt->AnswerWaiting();
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

HINTERNET FakeRequest(uintptr_t n) { return reinterpret_cast<HINTERNET>(0x1000 + n); }

class WindowProxyPromptTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_record = &record_;
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = &WindowProc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"WindowProxyPromptTest";
    RegisterClassW(&window_class);
    window_ = CreateWindowW(L"WindowProxyPromptTest", L"owner", WS_OVERLAPPED, 0, 0, 100, 100,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window_);
  }

  void TearDown() override {
    for (std::thread& thread : askers_) thread.join();
    if (window_) DestroyWindow(window_);
    g_prompt = nullptr;
    g_record = nullptr;
  }

  std::unique_ptr<WindowProxyPrompt> MakePrompt(DWORD take_timeout_ms = 30000) {
    auto prompt = std::make_unique<WindowProxyPrompt>(kPromptMessage, &FakeDialog,
                                                      take_timeout_ms);
    g_prompt = prompt.get();
    return prompt;
  }

  // Asks on a thread of its own, as a transfer does; the answer lands in
  // |*answer|.
  void AskOnThread(WindowProxyPrompt* prompt, HINTERNET request,
                   std::atomic<int>* answer) {
    askers_.emplace_back([=] { *answer = static_cast<int>(prompt->Ask(request)); });
  }

  // Runs the window's message loop until |done| holds or |timeout_ms|
  // passed; whether it held.
  template <typename Done>
  bool PumpUntil(Done done, DWORD timeout_ms = 10000) {
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    while (!done()) {
      if (GetTickCount64() >= end) return false;
      MSG message;
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
      Sleep(5);
    }
    return true;
  }

  DialogRecord record_;
  HWND window_ = nullptr;
  std::vector<std::thread> askers_;
};

constexpr int kNoAnswer = -1;

struct AnswerCase {
  const char* name;
  DWORD dialog_result;
  ProxyPromptAnswer answer;
};

void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }

class WindowProxyPromptAnswerTest : public WindowProxyPromptTest,
                                    public ::testing::WithParamInterface<AnswerCase> {};

// The prompt shows on the window's thread, over the window, for the asking
// transfer's request, and its answer reaches the transfer.
TEST_P(WindowProxyPromptAnswerTest, ShowsOnWindowThreadAndAnswersTheAsker) {
  record_.result = GetParam().dialog_result;
  std::unique_ptr<WindowProxyPrompt> prompt = MakePrompt();
  prompt->AttachWindow(window_);
  std::atomic<int> answer{kNoAnswer};
  AskOnThread(prompt.get(), FakeRequest(1), &answer);
  ASSERT_TRUE(PumpUntil([&] { return answer != kNoAnswer; }));
  EXPECT_EQ(answer, static_cast<int>(GetParam().answer));
  EXPECT_EQ(record_.shown, 1);
  EXPECT_EQ(record_.thread, GetCurrentThreadId());
  EXPECT_EQ(record_.owner, window_);
  EXPECT_EQ(record_.request, FakeRequest(1));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, WindowProxyPromptAnswerTest,
    ::testing::Values(
        AnswerCase{"Typed", ERROR_INTERNET_FORCE_RETRY, ProxyPromptAnswer::kRetry},
        AnswerCase{"Cancelled", ERROR_CANCELLED, ProxyPromptAnswer::kCancelled},
        // Wine's prompt answers its Cancel button with 0.
        AnswerCase{"CancelledUnderWine", ERROR_SUCCESS, ProxyPromptAnswer::kCancelled},
        AnswerCase{"NotShown", ERROR_INVALID_HANDLE, ProxyPromptAnswer::kNoPrompt}),
    [](const ::testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

// A transfer may ask before the window exists (the progress screen starts
// the engine with the window object): the question is shown once it does.
TEST_F(WindowProxyPromptTest, QuestionBeforeTheWindowIsShownOnceItExists) {
  std::unique_ptr<WindowProxyPrompt> prompt = MakePrompt();
  std::atomic<int> answer{kNoAnswer};
  AskOnThread(prompt.get(), FakeRequest(2), &answer);
  Sleep(200);
  EXPECT_EQ(record_.shown, 0);
  EXPECT_EQ(answer, kNoAnswer);
  prompt->AttachWindow(window_);
  ASSERT_TRUE(PumpUntil([&] { return answer != kNoAnswer; }));
  EXPECT_EQ(answer, static_cast<int>(ProxyPromptAnswer::kRetry));
  EXPECT_EQ(record_.owner, window_);
}

// The window going releases a transfer waiting for it at once, and a
// question after that is not asked at all.
TEST_F(WindowProxyPromptTest, ClosedWindowReleasesTheAskerAtOnce) {
  std::unique_ptr<WindowProxyPrompt> prompt = MakePrompt(/*take_timeout_ms=*/60000);
  prompt->AttachWindow(window_);
  std::atomic<int> answer{kNoAnswer};
  AskOnThread(prompt.get(), FakeRequest(3), &answer);
  Sleep(200);  // the question waits: nobody pumps the window's messages
  const ULONGLONG closed_at = GetTickCount64();
  prompt->Close();
  askers_.back().join();
  askers_.pop_back();
  EXPECT_LT(GetTickCount64() - closed_at, 5000u);
  EXPECT_EQ(answer, static_cast<int>(ProxyPromptAnswer::kNoPrompt));
  EXPECT_EQ(prompt->Ask(FakeRequest(4)), ProxyPromptAnswer::kNoPrompt);
  // The posted message that came too late shows nothing.
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(record_.shown, 0);
}

// A window whose thread never takes the question does not hold the
// transfer longer than the take time-out.
TEST_F(WindowProxyPromptTest, UntakenQuestionEndsAfterTheTakeTimeout) {
  std::unique_ptr<WindowProxyPrompt> prompt = MakePrompt(/*take_timeout_ms=*/300);
  prompt->AttachWindow(window_);
  const ULONGLONG asked_at = GetTickCount64();
  EXPECT_EQ(prompt->Ask(FakeRequest(5)), ProxyPromptAnswer::kNoPrompt);
  const ULONGLONG waited = GetTickCount64() - asked_at;
  EXPECT_GE(waited, 250u);
  EXPECT_LT(waited, 5000u);
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(record_.shown, 0) << "a question given up was still shown";
}

// A user who takes long to answer is waited for: once the window's thread
// has taken the question, the take time-out no longer applies.
TEST_F(WindowProxyPromptTest, SlowUserIsWaitedFor) {
  record_.up_ms = 1000;
  std::unique_ptr<WindowProxyPrompt> prompt = MakePrompt(/*take_timeout_ms=*/300);
  prompt->AttachWindow(window_);
  std::atomic<int> answer{kNoAnswer};
  AskOnThread(prompt.get(), FakeRequest(6), &answer);
  ASSERT_TRUE(PumpUntil([&] { return answer != kNoAnswer; }));
  EXPECT_EQ(answer, static_cast<int>(ProxyPromptAnswer::kRetry));
}

// Two transfers asking at once get one prompt after the other, never one
// prompt inside the other's modal loop, and each its own answer.
TEST_F(WindowProxyPromptTest, TwoAskersGetOnePromptAtATime) {
  record_.up_ms = 300;
  std::unique_ptr<WindowProxyPrompt> prompt = MakePrompt();
  prompt->AttachWindow(window_);
  std::atomic<int> first{kNoAnswer};
  std::atomic<int> second{kNoAnswer};
  AskOnThread(prompt.get(), FakeRequest(7), &first);
  AskOnThread(prompt.get(), FakeRequest(8), &second);
  ASSERT_TRUE(PumpUntil([&] { return first != kNoAnswer && second != kNoAnswer; }));
  EXPECT_EQ(record_.shown, 2);
  EXPECT_EQ(record_.max_depth, 1);
  EXPECT_EQ(first, static_cast<int>(ProxyPromptAnswer::kRetry));
  EXPECT_EQ(second, static_cast<int>(ProxyPromptAnswer::kRetry));
}

}  // namespace
}  // namespace lite
