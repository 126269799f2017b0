#include "stats/async_url_sender_win.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <utility>

#include "base/endpoints.h"
#include "base/platform_request_headers.h"
#include "base/scoped_internet_handle_win.h"
#include "base/structured_exception_guard_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "base/windows_version_win.h"
#include "logging/system_error_win.h"
#include "proxy/internet_session_win.h"
#include "proxy/proxy_authentication_win.h"
#include "proxy/proxy_resolver_win.h"
#include "proxy/url_origin.h"

namespace lite {

namespace {

constexpr wchar_t kUserAgent[] = L"Tolvar.Browser installer";
constexpr DWORD kTimeoutMs = 2000;
// How long a request may hold the destruction: its own time-out. Wine
// ignores the connect time-out (a connection attempt to a host that drops
// them stays open for minutes), so the destroying thread enforces it.
constexpr ULONGLONG kOverdueMs = kTimeoutMs;
// How often the destroying thread looks at a request that is not overdue
// yet, and at a thread between requests.
constexpr DWORD kStopPollMs = 50;
// How long a closed request may take to return. Windows' WinINet ends a
// call whose handle another thread closes; Wine's lets it wait on in its
// socket, and then the request thread is ended where it stands.
constexpr DWORD kClosedRequestGraceMs = 200;

// Set when the request handle was closed on being sent. WinINet calls back
// on the thread that makes a synchronous request, so one flag per thread
// suffices.
thread_local bool g_request_abandoned = false;

// Closing the request as soon as it is out ends InternetOpenUrlW without
// waiting for an answer nobody reads. Some WinINet implementations (Wine's)
// keep a closed request alive until the call returns and would still wait
// for the answer; a minimal receive time-out stops that wait too.
void CALLBACK CloseRequestOnceSent(HINTERNET handle, DWORD_PTR /*context*/, DWORD status,
                                   LPVOID /*info*/, DWORD /*info_length*/) {
  if (status != INTERNET_STATUS_REQUEST_SENT) return;
  DWORD no_wait_ms = 1;
  InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &no_wait_ms, sizeof(no_wait_ms));
  InternetCloseHandle(handle);
  g_request_abandoned = true;
}

bool SetTimeout(HINTERNET session, DWORD option) {
  DWORD value = kTimeoutMs;
  return InternetSetOptionW(session, option, &value, sizeof(value)) != FALSE;
}

}  // namespace

AsyncUrlSender::AsyncUrlSender() = default;

AsyncUrlSender::~AsyncUrlSender() { StopThread(); }

void AsyncUrlSender::StopThread() {
  {
    SrwAutoLock hold(lock_);
    if (!thread_started_) return;
    stop_ = true;
  }
  work_event_.Signal();
  while (!thread_.Join(CloseOverdueRequest())) {
  }
  SrwAutoLock hold(lock_);
  thread_started_ = false;
  queue_.clear();
}

DWORD AsyncUrlSender::CloseOverdueRequest() {
  SrwAutoLock hold(lock_);
  if (closed_overdue_) {
    LOG(ERROR) << "The statistics request thread is still in its closed request; ending it";
    thread_.Terminate(0);
    return 0;
  }
  if (!in_flight_) return kStopPollMs;
  const ULONGLONG open_ms = GetTickCount64() - in_flight_since_;
  if (open_ms < kOverdueMs) {
    return static_cast<DWORD>(std::min<ULONGLONG>(kOverdueMs - open_ms, kStopPollMs));
  }
  LOG(WARNING) << "Closing a statistics request still open after " << open_ms << " ms";
  InternetCloseHandle(std::exchange(in_flight_, nullptr));
  closed_overdue_ = true;
  return kClosedRequestGraceMs;
}

void AsyncUrlSender::BeginRequest(HINTERNET session) {
  SrwAutoLock hold(lock_);
  in_flight_ = session;
  in_flight_since_ = GetTickCount64();
}

bool AsyncUrlSender::EndRequest() {
  SrwAutoLock hold(lock_);
  if (closed_overdue_) {
    closed_overdue_ = false;
    return false;
  }
  in_flight_ = nullptr;
  return true;
}

bool AsyncUrlSender::InitializeThread() {
  if (!work_event_.is_valid() || !thread_.Start([this] { RunRequestLoop(); })) {
    PLOG_FROM(ERROR, "InitializeThread") << "Failed to create thread for async http requests";
    return false;
  }
  thread_started_ = true;
  return true;
}

bool AsyncUrlSender::Send(const std::u16string& url) {
  {
    // Held while the thread starts, so that two first callers cannot both
    // start one.
    SrwAutoLock hold(lock_);
    if (stop_) return false;
    if (!thread_started_ && !InitializeThread()) return false;
    queue_.push_back(url);
  }
  work_event_.Signal();
  return true;
}

void AsyncUrlSender::RunRequestLoop() {
  while (true) {
    work_event_.Wait();
    while (true) {
      std::u16string url;
      {
        SrwAutoLock hold(lock_);
        if (stop_) return;
        if (queue_.empty()) break;
        url = std::move(queue_.front());
        queue_.pop_front();
      }
      SendUrl(url);
    }
  }
}

void AsyncUrlSender::SendUrl(const std::u16string& url) {
  const std::u16string routed = WidenBytes(RouteRequestUrl(NarrowLowBytes(url)));
  const std::u16string origin = UrlOrigin(routed);
  auto known = proxy_choices_.find(origin);
  if (known == proxy_choices_.end()) {
    known = proxy_choices_.emplace(origin, ChooseProxyForUrl(routed)).first;
  }
  InternetSession opened = OpenInternetSession(kUserAgent, routed, known->second);
  ScopedInternetHandle session = std::move(opened.handle);
  if (!session) {
    PLOG_CODE(ERROR, opened.open_error) << "Failed to open session for " << url;
    return;
  }
  // Through a proxy the answer is read: one that wants credentials answers
  // 407 and forwards nothing until it gets them. Its answer comes within
  // the same time-out.
  const bool through_proxy = opened.through_proxy();
  if (!through_proxy) InternetSetStatusCallbackW(session.get(), &CloseRequestOnceSent);
  if (!SetTimeout(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT) ||
      !SetTimeout(session.get(), INTERNET_OPTION_SEND_TIMEOUT) ||
      (through_proxy && !SetTimeout(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT))) {
    PLOG(ERROR) << "Failed to set internet options for " << url;
    return;
  }

  const WindowsVersion& version = GetWindowsVersion();
  const std::u16string headers = BuildRequestHeaders(version.major, version.minor, version.ubr);
  HINTERNET request = nullptr;
  DWORD error = ERROR_SUCCESS;
  g_request_abandoned = false;
  StructuredException exception;
  BeginRequest(session.get());
  const bool returned = RunWithExceptionGuard(
      [&] {
        request = InternetOpenUrlW(session.get(), AsWide(routed), AsWide(headers),
                                   static_cast<DWORD>(-1), INTERNET_FLAG_RELOAD, 1);
        error = GetLastError();
      },
      &exception);
  ScopedInternetHandle answered(through_proxy ? request : nullptr);
  if (returned && answered) {
    // Never a prompt: statistics are not worth a question to the user.
    AnswerProxyAuthentication(answered.get(), opened.proxy, url, ProxyPromptUse::kKnownOnly);
  }
  if (!EndRequest()) {
    // Closed by the destroying thread, which logged why; the request went
    // with its session.
    answered.release();
    session.release();
    return;
  }
  if (!returned) {
    PLOG(ERROR) << "An attempt to open url " << url << " generated an exception "
                << exception.code;
    return;
  }
  if (through_proxy) {
    if (!request) PLOG_CODE(ERROR, error) << "Failed to open " << url;
    return;
  }
  // Once the request was sent it has done its job, whatever error the
  // abandoned call returns (12017 from Windows' WinINet; Wine's reports the
  // closed handle).
  if (g_request_abandoned) return;
  if (request) {
    // Answered before the send was reported: delivered all the same.
    InternetCloseHandle(request);
    return;
  }
  if (error != ERROR_INTERNET_OPERATION_CANCELLED) {
    PLOG_CODE(ERROR, error) << "Failed to open " << url;
  }
}

}  // namespace lite
