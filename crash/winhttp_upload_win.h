// One HTTP POST through WinHTTP, for crash uploads. It runs inside a
// crashed process: every text it needs is prepared by the caller in
// memory reserved beforehand, the transfer as a whole has a deadline, and
// no more of the answer is read than a small limit. The proxy is chosen by
// the caller ahead of the crash; here it is only used, and its 407 answered.
#ifndef CRASH_WINHTTP_UPLOAD_WIN_H_
#define CRASH_WINHTTP_UPLOAD_WIN_H_

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "crash/report_arena.h"
#include "crash/report_log.h"

namespace lite {

struct HttpUpload {
  // Zero-terminated. The URL is ASCII; the headers are "Name: value" CRLF
  // lines, Content-Length is added by the transport.
  const wchar_t* url = nullptr;
  const wchar_t* user_agent = nullptr;
  const wchar_t* headers = nullptr;
  std::string_view body;
  // The time-out of each resolve, connect, send and receive.
  DWORD timeout_ms = 60000;
  // No step starts after this much time from the start, and none is given
  // longer than what is left.
  DWORD deadline_ms = 120000;
  // The answer is read up to this many bytes, then left.
  size_t response_limit = 65536;
  // "host:port" of the proxy the request goes through; null or empty sends
  // it direct. WinHTTP's own proxy settings are never used: they are not
  // the user's.
  const wchar_t* proxy = nullptr;
};

// Sends of one upload at most: the first, and the answers to a proxy's 407
// (integrated sign-in, then the credentials the run knows for the proxy).
inline constexpr int kMaxUploadSends = 3;
// How long the credentials of a proxy that wants them are waited for.
inline constexpr DWORD kProxyCredentialsWaitMs = 5000;

// Posts |upload|; true when the server answered 200, whether or not its
// answer could then be read. Failures are noted in |log|, never with a
// credential in them; |scratch| holds the host name while the request runs
// and the proxy's credentials while they are needed, and must outlive a
// credentials lookup that did not answer in time (the crash handler's
// reserved memory lives as long as the process).
bool PostWithWinHttp(const HttpUpload& upload, ReportArena* scratch, ReportLog* log);

// The user agent of crash uploads on this system.
std::string CrashUploadUserAgent();

}  // namespace lite

#endif  // CRASH_WINHTTP_UPLOAD_WIN_H_
