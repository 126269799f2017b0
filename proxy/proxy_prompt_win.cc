#include "proxy/proxy_prompt_win.h"

#include <atomic>

namespace lite {
namespace {

std::atomic<ProxyCredentialsPrompt*> g_prompt{nullptr};

}  // namespace

void SetProxyCredentialsPrompt(ProxyCredentialsPrompt* prompt) { g_prompt.store(prompt); }

ProxyCredentialsPrompt* GetProxyCredentialsPrompt() { return g_prompt.load(); }

}  // namespace lite
