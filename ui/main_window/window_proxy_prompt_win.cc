#include "ui/main_window/window_proxy_prompt_win.h"

#include <algorithm>
#include <chrono>

#include "logging/log_message.h"
#include "logging/system_error_win.h"
#include "ui/main_window/owned_window_centering_win.h"

namespace lite {
namespace {

const char* AnswerName(ProxyPromptAnswer answer) {
  switch (answer) {
    case ProxyPromptAnswer::kRetry:
      return "credentials given";
    case ProxyPromptAnswer::kCancelled:
      return "cancelled";
    case ProxyPromptAnswer::kNoPrompt:
      break;
  }
  return "not shown";
}

}  // namespace

DWORD ShowSystemProxyDialog(HWND owner, HINTERNET request) {
  const ScopedOwnedWindowCentering centering(owner);
  // The flags let the prompt read the request's 407 itself and leave what
  // the user typed on the request, for the transfer to resend with.
  return InternetErrorDlg(owner, request, ERROR_INTERNET_INCORRECT_PASSWORD,
                          FLAGS_ERROR_UI_FILTER_FOR_ERRORS | FLAGS_ERROR_UI_FLAGS_CHANGE_OPTIONS |
                              FLAGS_ERROR_UI_FLAGS_GENERATE_DATA,
                          nullptr);
}

ProxyPromptAnswer ProxyPromptAnswerOf(DWORD dialog_result) {
  switch (dialog_result) {
    case ERROR_INTERNET_FORCE_RETRY:
      return ProxyPromptAnswer::kRetry;
    case ERROR_CANCELLED:
    case ERROR_SUCCESS:
      return ProxyPromptAnswer::kCancelled;
    default:
      return ProxyPromptAnswer::kNoPrompt;
  }
}

WindowProxyPrompt::WindowProxyPrompt(UINT message, ProxyDialogFunction dialog,
                                     DWORD take_timeout_ms)
    : message_(message), dialog_(dialog), take_timeout_ms_(take_timeout_ms) {}

WindowProxyPrompt::~WindowProxyPrompt() { Close(); }

ProxyPromptAnswer WindowProxyPrompt::Ask(HINTERNET request) {
  Question question;
  question.request = request;
  std::unique_lock<std::mutex> hold(lock_);
  if (closed_) {
    LOG(INFO) << "No proxy credentials prompt: the installer window is gone";
    return ProxyPromptAnswer::kNoPrompt;
  }
  waiting_.push_back(&question);
  if (window_ && !PostMessageW(window_, message_, 0, 0)) {
    PLOG(WARNING) << "The proxy credentials question did not reach the window";
  }
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(take_timeout_ms_);
  changed_.wait_until(hold, deadline, [&] { return question.taken || closed_; });
  if (!question.taken) {
    waiting_.erase(std::find(waiting_.begin(), waiting_.end(), &question));
    LOG(WARNING) << "No proxy credentials prompt: "
                 << (closed_ ? "the installer window is gone"
                             : "the installer window did not take the question within " +
                                   std::to_string(take_timeout_ms_) + " ms");
    return ProxyPromptAnswer::kNoPrompt;
  }
  // Taken: the window's thread is showing the prompt and answers whenever
  // the user does.
  changed_.wait(hold, [&] { return question.answered; });
  return question.answer;
}

void WindowProxyPrompt::AttachWindow(HWND window) {
  std::lock_guard<std::mutex> hold(lock_);
  if (closed_) return;
  window_ = window;
  if (!waiting_.empty()) PostMessageW(window_, message_, 0, 0);
}

WindowProxyPrompt::Question* WindowProxyPrompt::TakeNext() {
  Question* question = nullptr;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (closed_ || waiting_.empty()) return nullptr;
    question = waiting_.front();
    waiting_.pop_front();
    question->taken = true;
  }
  changed_.notify_all();
  return question;
}

void WindowProxyPrompt::AnswerWaiting() {
  // The prompt's own modal loop delivers the window's messages, this one
  // too: the outer call takes the rest once its prompt has ended.
  if (showing_) return;
  showing_ = true;
  while (Question* question = TakeNext()) {
    HWND owner = nullptr;
    {
      std::lock_guard<std::mutex> hold(lock_);
      owner = window_;
    }
    // A prompt over a minimised window would wait unseen.
    if (owner && IsIconic(owner)) ShowWindow(owner, SW_RESTORE);
    const DWORD result = dialog_(owner, question->request);
    const ProxyPromptAnswer answer = ProxyPromptAnswerOf(result);
    LOG(INFO) << "Proxy credentials prompt: " << AnswerName(answer) << " (" << result << ")";
    {
      std::lock_guard<std::mutex> hold(lock_);
      question->answer = answer;
      question->answered = true;
    }
    // |question| belongs to its Ask call, which may return from here on.
    changed_.notify_all();
  }
  showing_ = false;
}

void WindowProxyPrompt::Close() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    closed_ = true;
    window_ = nullptr;
  }
  changed_.notify_all();
}

}  // namespace lite
