// The seam through which a download asks the user for proxy credentials.
// Only an interactive run has a prompt: the installer window registers one
// while it lives, and a silent run has none, so it never asks.
#ifndef PROXY_PROXY_PROMPT_WIN_H_
#define PROXY_PROXY_PROMPT_WIN_H_

#include <windows.h>
#include <wininet.h>

namespace lite {

enum class ProxyPromptAnswer {
  kRetry,      // the user gave credentials; they are set on the request
  kCancelled,  // the user cancelled the prompt
  kNoPrompt,   // nobody can ask (silent run, window gone)
};

class ProxyCredentialsPrompt {
 public:
  virtual ~ProxyCredentialsPrompt() = default;
  // Shows the system's proxy-credentials prompt for |request|, whose answer
  // was 407, and blocks the calling thread until the user has answered.
  // Called from a transfer's thread, never from the window's.
  virtual ProxyPromptAnswer Ask(HINTERNET request) = 0;
};

// The prompt in force; null when there is none. Process-wide like the window
// that registers it; |prompt| must outlive its registration.
void SetProxyCredentialsPrompt(ProxyCredentialsPrompt* prompt);
ProxyCredentialsPrompt* GetProxyCredentialsPrompt();

}  // namespace lite

#endif  // PROXY_PROXY_PROMPT_WIN_H_
