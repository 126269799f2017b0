// The installer window's proxy-credentials prompt: a transfer's thread asks,
// the window's thread shows the system's prompt over the window, and the
// transfer's thread gets the answer. A window that is gone, or never comes to
// take the question, answers that nobody can ask.
#ifndef UI_MAIN_WINDOW_WINDOW_PROXY_PROMPT_WIN_H_
#define UI_MAIN_WINDOW_WINDOW_PROXY_PROMPT_WIN_H_

#include <windows.h>
#include <wininet.h>

#include <condition_variable>
#include <deque>
#include <mutex>

#include "proxy/proxy_prompt_win.h"

namespace lite {

// Shows the system's proxy-credentials prompt for |request| over |owner| and
// returns its answer as InternetErrorDlg gives it.
using ProxyDialogFunction = DWORD (*)(HWND owner, HINTERNET request);
DWORD ShowSystemProxyDialog(HWND owner, HINTERNET request);

// What the system prompt's answer means for the transfer: typed credentials
// (ERROR_INTERNET_FORCE_RETRY), a cancel (ERROR_CANCELLED; Wine's prompt
// answers a cancel with 0), or a prompt that could not show.
ProxyPromptAnswer ProxyPromptAnswerOf(DWORD dialog_result);

// How long a question waits for the window's thread to take it: the window
// is being made, or its thread is busy. A user who takes long to answer is
// waited for; a window that never takes the question is not.
inline constexpr DWORD kProxyQuestionTakeTimeoutMs = 60000;

class WindowProxyPrompt final : public ProxyCredentialsPrompt {
 public:
  // |message| is the window's private message that makes its thread call
  // AnswerWaiting.
  explicit WindowProxyPrompt(UINT message, ProxyDialogFunction dialog = &ShowSystemProxyDialog,
                             DWORD take_timeout_ms = kProxyQuestionTakeTimeoutMs);
  WindowProxyPrompt(const WindowProxyPrompt&) = delete;
  WindowProxyPrompt& operator=(const WindowProxyPrompt&) = delete;
  ~WindowProxyPrompt() override;

  // A transfer's thread: blocks until the window's thread has answered, the
  // window went, or the question was not taken in time (kNoPrompt).
  ProxyPromptAnswer Ask(HINTERNET request) override;

  // The window's thread, once its window exists: questions asked before it
  // are taken now.
  void AttachWindow(HWND window);
  // The window's thread, on |message|: shows the prompt for every waiting
  // question, one after the other.
  void AnswerWaiting();
  // The window goes: waiting and later questions get kNoPrompt.
  void Close();

 private:
  struct Question {
    HINTERNET request = nullptr;
    bool taken = false;
    bool answered = false;
    ProxyPromptAnswer answer = ProxyPromptAnswer::kNoPrompt;
  };

  // Takes the next waiting question off the queue; null when none waits.
  Question* TakeNext();

  const UINT message_;
  const ProxyDialogFunction dialog_;
  const DWORD take_timeout_ms_;

  std::mutex lock_;
  std::condition_variable changed_;
  HWND window_ = nullptr;   // under lock_
  bool closed_ = false;     // under lock_
  std::deque<Question*> waiting_;  // under lock_; owned by their Ask calls
  // The window's thread is inside the prompt: its modal loop may deliver
  // |message| again, and one prompt at a time is enough.
  bool showing_ = false;
};

}  // namespace lite

#endif  // UI_MAIN_WINDOW_WINDOW_PROXY_PROMPT_WIN_H_
