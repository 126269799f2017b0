#include "proxy/proxy_authentication_win.h"

#include <array>
#include <chrono>
#include <optional>

#include "base/wide_string_win.h"
#include "logging/log_message.h"
#include "proxy/proxy_credentials_win.h"
#include "proxy/proxy_prompt_win.h"

namespace lite {
namespace {

// A 407's body is a short page; a proxy that sends more is not waited for.
constexpr DWORD kMaxDrainBytes = 1 << 20;

DWORD StatusOf(HINTERNET request) {
  DWORD status = 0;
  DWORD length = sizeof(status);
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length,
                      nullptr)) {
    return 0;
  }
  return status;
}

// The rest of the refusal's body, so that the connection can carry the
// next send.
void Drain(HINTERNET request) {
  std::array<char, 4096> buffer;
  DWORD total = 0;
  DWORD received = 0;
  while (total < kMaxDrainBytes &&
         InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &received) &&
         received != 0) {
    total += received;
  }
}

void SetCredentials(HINTERNET request, const ProxyCredentials& credentials) {
  // String options take their length in characters.
  InternetSetOptionW(request, INTERNET_OPTION_PROXY_USERNAME,
                     const_cast<wchar_t*>(AsWide(credentials.user)),
                     static_cast<DWORD>(credentials.user.size() + 1));
  InternetSetOptionW(request, INTERNET_OPTION_PROXY_PASSWORD,
                     const_cast<wchar_t*>(AsWide(credentials.password)),
                     static_cast<DWORD>(credentials.password.size() + 1));
}

std::optional<std::u16string> QueryString(HINTERNET request, DWORD option) {
  std::array<wchar_t, 1024> buffer{};
  DWORD length = sizeof(buffer) - sizeof(wchar_t);
  std::optional<std::u16string> value;
  if (InternetQueryOptionW(request, option, buffer.data(), &length)) {
    value = FromWide(buffer.data(), wcsnlen(buffer.data(), buffer.size() - 1));
  }
  SecureZeroMemory(buffer.data(), sizeof(buffer));
  return value;
}

// What the prompt left on the request.
std::optional<ProxyCredentials> TypedCredentials(HINTERNET request) {
  std::optional<std::u16string> user = QueryString(request, INTERNET_OPTION_PROXY_USERNAME);
  if (!user || user->empty()) return std::nullopt;
  std::optional<std::u16string> password = QueryString(request, INTERNET_OPTION_PROXY_PASSWORD);
  ProxyCredentials typed(std::move(*user), password ? std::move(*password) : std::u16string());
  if (password) SecureZeroMemory(password->data(), password->size() * sizeof(char16_t));
  return typed;
}

bool SameCredentials(const ProxyCredentials& a, const ProxyCredentials& b) {
  return a.user == b.user && a.password == b.password;
}

class Answerer {
 public:
  Answerer(HINTERNET request, ProxyAuthentication* result)
      : request_(request), result_(result) {}

  // One more send with |credentials|; false when no send is left or the
  // send failed.
  bool Resend(const ProxyCredentials& credentials) {
    if (result_->sends >= kMaxProxyRequestSends) return false;
    SetCredentials(request_, credentials);
    tried_ = credentials;
    Drain(request_);
    ++result_->sends;
    if (!HttpSendRequestW(request_, nullptr, 0, nullptr, 0)) {
      result_->send_error = GetLastError();
      result_->status = StatusOf(request_);
      return false;
    }
    result_->status = StatusOf(request_);
    return true;
  }

  bool Tried(const ProxyCredentials& credentials) const {
    return tried_ && SameCredentials(*tried_, credentials);
  }

 private:
  HINTERNET request_;
  ProxyAuthentication* result_;
  std::optional<ProxyCredentials> tried_;
};

}  // namespace

bool ProxyPromptGate::BeginAsking() {
  std::lock_guard<std::mutex> hold(lock_);
  if (asking_ || asked_) return false;
  asking_ = true;
  return true;
}

void ProxyPromptGate::EndAsking(bool shown) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    asking_ = false;
    asked_ = asked_ || shown;
  }
  changed_.notify_all();
}

bool ProxyPromptGate::WaitWhileAsking(DWORD timeout_ms) {
  std::unique_lock<std::mutex> hold(lock_);
  return changed_.wait_for(hold, std::chrono::milliseconds(timeout_ms), [&] { return !asking_; });
}

bool ProxyPromptGate::asked() {
  std::lock_guard<std::mutex> hold(lock_);
  return asked_;
}

void ProxyPromptGate::ResetForTesting() {
  std::lock_guard<std::mutex> hold(lock_);
  asking_ = false;
  asked_ = false;
}

ProxyPromptGate& RunProxyPromptGate() {
  // Never destroyed: transfer threads may still wait on it at exit.
  static ProxyPromptGate* const gate = new ProxyPromptGate;
  return *gate;
}

ProxyAuthentication AnswerProxyAuthentication(HINTERNET request, std::u16string_view proxy,
                                              const std::u16string& url, ProxyPromptUse use) {
  ProxyAuthentication result;
  result.status = StatusOf(request);
  if (result.status != HTTP_STATUS_PROXY_AUTH_REQ) return result;
  Answerer answerer(request, &result);

  // What the user typed earlier in the run, else what Windows holds.
  if (std::optional<ProxyCredentials> known = FindProxyCredentials(proxy)) {
    if (!answerer.Resend(*known)) return result;
  }

  ProxyCredentialsPrompt* const prompt = GetProxyCredentialsPrompt();
  ProxyPromptGate& gate = RunProxyPromptGate();
  if (result.status == HTTP_STATUS_PROXY_AUTH_REQ && use == ProxyPromptUse::kAsk && prompt &&
      result.sends < kMaxProxyRequestSends && gate.BeginAsking()) {
    LOG(INFO) << "Proxy " << proxy << " wants credentials: asking the user";
    const ProxyPromptAnswer answer = prompt->Ask(request);
    std::optional<ProxyCredentials> typed;
    if (answer == ProxyPromptAnswer::kRetry) {
      typed = TypedCredentials(request);
      // Remembered before the gate opens, so that waiting transfers find them.
      if (typed) RememberProxyCredentials(proxy, *typed);
    }
    gate.EndAsking(answer != ProxyPromptAnswer::kNoPrompt);
    if (answer == ProxyPromptAnswer::kCancelled) {
      LOG(INFO) << "The proxy credentials prompt was cancelled";
      result.cancelled = true;
    } else if (answer == ProxyPromptAnswer::kRetry && !typed) {
      LOG(WARNING) << "The proxy credentials prompt left no user name on the request";
    }
    if (typed && !answerer.Resend(*typed)) return result;
  } else if (result.status == HTTP_STATUS_PROXY_AUTH_REQ && use != ProxyPromptUse::kKnownOnly) {
    if (!gate.WaitWhileAsking(kProxyPromptWaitMs)) {
      LOG(WARNING) << "Stopped waiting for the proxy credentials prompt after "
                   << kProxyPromptWaitMs << " ms";
    }
    std::optional<ProxyCredentials> typed = RememberedProxyCredentials(proxy);
    if (typed && !answerer.Tried(*typed) && !answerer.Resend(*typed)) return result;
  }

  if (result.status == HTTP_STATUS_PROXY_AUTH_REQ) {
    LOG(WARNING) << "Proxy " << proxy << " answered 407 Proxy Authentication Required for "
                 << url;
    // A later attempt could only bring the prompt, if this run still has one.
    result.exhausted = !(use == ProxyPromptUse::kAsk && GetProxyCredentialsPrompt() &&
                         !gate.asked());
  }
  return result;
}

}  // namespace lite
