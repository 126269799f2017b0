// Answers a proxy's 407 on a WinINet request: with the credentials the run
// knows for the proxy, then with what the user types into the run's one
// prompt. Each request is sent at most three times.
#ifndef PROXY_PROXY_AUTHENTICATION_WIN_H_
#define PROXY_PROXY_AUTHENTICATION_WIN_H_

#include <windows.h>
#include <wininet.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>

namespace lite {

// What a transfer may do when known credentials are not enough.
enum class ProxyPromptUse {
  kAsk,             // open the run's prompt (the setup archive's download)
  kWaitForPrompt,   // wait for a prompt another transfer has open, then use its answer
  kKnownOnly,       // nothing more (statistics, crash reports)
};

// Sends of one request: the first and two answers to the proxy.
inline constexpr int kMaxProxyRequestSends = 3;
// How long a transfer waits for a prompt another transfer has open.
inline constexpr DWORD kProxyPromptWaitMs = 120000;

struct ProxyAuthentication {
  DWORD status = 0;       // the request's status at the end; 0 when unreadable
  int sends = 1;          // the request's sends, the first included
  DWORD send_error = ERROR_SUCCESS;  // set when a resend itself failed
  bool cancelled = false;  // the user cancelled the prompt
  // Still 407, and no later attempt of this run can offer other credentials.
  bool exhausted = false;
};

// Answers |request|, which has been sent once, when its status is 407 from
// |proxy| ("host:port"). |url| is for the log line naming the proxy's
// refusal; credentials are never logged. Any other status is left alone.
ProxyAuthentication AnswerProxyAuthentication(HINTERNET request, std::u16string_view proxy,
                                              const std::u16string& url, ProxyPromptUse use);

// The run shows the proxy prompt once: the first transfer allowed to ask
// does; the others wait while it is open and use what the user typed.
class ProxyPromptGate {
 public:
  ProxyPromptGate() = default;
  ProxyPromptGate(const ProxyPromptGate&) = delete;
  ProxyPromptGate& operator=(const ProxyPromptGate&) = delete;

  // True when the caller is to ask now: nobody has asked in this run.
  bool BeginAsking();
  // |shown|: the prompt reached the user (whatever the answer); a prompt
  // that could not show leaves the run free to ask again.
  void EndAsking(bool shown);
  // Waits up to |timeout_ms| while another transfer's prompt is open; false
  // when it is still open after that.
  bool WaitWhileAsking(DWORD timeout_ms);
  // Whether this run has shown its prompt.
  bool asked();

  void ResetForTesting();

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  bool asking_ = false;  // under lock_
  bool asked_ = false;   // under lock_
};

// The process's gate: one prompt per installer run.
ProxyPromptGate& RunProxyPromptGate();

}  // namespace lite

#endif  // PROXY_PROXY_AUTHENTICATION_WIN_H_
