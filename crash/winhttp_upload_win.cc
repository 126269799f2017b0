// The body is sent with its length known in advance ("Content-Length"),
// not in chunks of unknown total: that is the one framing that both
// Windows' and Wine's WinHTTP put on the wire as valid HTTP/1.1. The body is
// small (a gzip-compressed dump of stack-referenced memory), so it is built
// whole before the request opens.
#include "crash/winhttp_upload_win.h"

#include <process.h>
#include <winhttp.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <optional>

#include "base/file_version_win.h"
#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
#include "crash/upload_url.h"
#include "proxy/proxy_credentials_win.h"

namespace lite {
namespace {

constexpr DWORD kWritePieceSize = 32768;
constexpr DWORD kReadPieceSize = 4096;
// A 407's body is a short page; more of it is not read before the resend.
constexpr size_t kMaxRefusalBytes = 65536;
// Units of a user name or password, the terminator included.
constexpr size_t kMaxCredentialUnits = 256;
constexpr size_t kMaxProxyUnits = 256;

struct InternetHandleTraits {
  static HINTERNET Invalid() { return nullptr; }
  static bool IsValid(HINTERNET h) { return h != nullptr; }
  static void Close(HINTERNET h) { WinHttpCloseHandle(h); }
};
using ScopedWinHttpHandle = ScopedGeneric<InternetHandleTraits>;

// "Call: code text", the text from WinHTTP's message table (or the
// system's), narrowed on the stack; always false.
bool Fail(ReportLog* log, const char* call) {
  const DWORD error = GetLastError();
  wchar_t text[256] = {};
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                                GetModuleHandleW(L"winhttp.dll"), error, 0, text,
                                ARRAYSIZE(text), nullptr);
  if (length == 0) {
    length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                            error, 0, text, ARRAYSIZE(text), nullptr);
  }
  char narrow[ARRAYSIZE(text)];
  size_t kept = 0;
  for (DWORD i = 0; i < length; ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') continue;
    narrow[kept++] = text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  }
  *log << call << ": " << static_cast<int64_t>(error) << " " << std::string_view(narrow, kept);
  log->EndLine();
  return false;
}

// The time left of the transfer's deadline.
class Deadline {
 public:
  explicit Deadline(DWORD total_ms) : end_(GetTickCount64() + total_ms) {}
  DWORD left_ms() const {
    const ULONGLONG now = GetTickCount64();
    return now >= end_ ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(end_ - now, MAXDWORD));
  }

 private:
  ULONGLONG end_;
};

// Gives the next step the per-step time-out or what is left of the
// deadline, whichever is shorter; false, noted, once nothing is left.
bool Bound(HINTERNET handle, bool request, const HttpUpload& upload, const Deadline& deadline,
           ReportLog* log) {
  const DWORD left = deadline.left_ms();
  if (left == 0) {
    *log << "The upload did not finish within " << static_cast<int64_t>(upload.deadline_ms)
         << " ms";
    log->EndLine();
    return false;
  }
  const int timeout = static_cast<int>(std::min(upload.timeout_ms, left));
  if (!WinHttpSetTimeouts(handle, timeout, timeout, timeout, timeout)) {
    return Fail(log, "WinHttpSetTimeouts");
  }
  // The wait for the answer's headers has a time-out of its own, which the
  // four above leave alone in some implementations (Wine's).
  DWORD response_timeout = static_cast<DWORD>(timeout);
  if (request && !WinHttpSetOption(handle, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT,
                                   &response_timeout, sizeof(response_timeout))) {
    return Fail(log, "WinHttpSetOption");
  }
  return true;
}

// The credentials of one proxy as the lookup thread hands them over. It
// lives in the upload's scratch memory, not on a stack: a lookup given up
// on may still write here later.
struct CredentialsLookup {
  enum Result : LONG { kPending, kFound, kNone, kTooLong, kFailed };

  wchar_t proxy[kMaxProxyUnits];
  wchar_t user[kMaxCredentialUnits];
  wchar_t password[kMaxCredentialUnits];
  std::atomic<LONG> result{kPending};

  void Wipe() {
    SecureZeroMemory(user, sizeof(user));
    SecureZeroMemory(password, sizeof(password));
  }
};

bool CopyInto(const std::u16string& text, wchar_t (&out)[kMaxCredentialUnits]) {
  if (text.size() >= kMaxCredentialUnits) return false;
  std::wmemcpy(out, reinterpret_cast<const wchar_t*>(text.data()), text.size());
  out[text.size()] = L'\0';
  return true;
}

unsigned __stdcall LookUpCredentials(void* parameter) {
  auto* lookup = static_cast<CredentialsLookup*>(parameter);
  LONG result = CredentialsLookup::kFailed;
  // Nothing may escape a thread's entry: a lookup that cannot allocate in
  // a crashed process is a lookup that found nothing.
  try {
    std::optional<ProxyCredentials> found = FindProxyCredentials(FromWide(lookup->proxy));
    if (!found) {
      result = CredentialsLookup::kNone;
    } else if (CopyInto(found->user, lookup->user) && CopyInto(found->password, lookup->password)) {
      result = CredentialsLookup::kFound;
    } else {
      lookup->Wipe();
      result = CredentialsLookup::kTooLong;
    }
  } catch (...) {
    lookup->Wipe();
  }
  lookup->result.store(result);
  return 0;
}

// The run's credentials for |proxy|: those the user typed, else those
// Windows holds. The lookup runs on a thread of its own and is waited for
// a bounded time, because it takes the lock of the typed credentials and
// uses the heap, and the crashed thread that uploads may be the one that
// held either when it failed: waiting on it directly could hang the report
// for ever. Null (and the reason noted after |refusal|) when there are none
// to use.
CredentialsLookup* FindCredentialsBounded(const wchar_t* proxy, ReportArena* scratch,
                                          ReportLog* log, std::string_view refusal) {
  const size_t length = std::wcslen(proxy);
  if (length >= kMaxProxyUnits) {
    *log << refusal << ": its name is too long to look its credentials up";
    log->EndLine();
    return nullptr;
  }
  auto* lookup = scratch->New<CredentialsLookup>();
  if (!lookup) {
    *log << refusal << ": no memory to look its credentials up";
    log->EndLine();
    return nullptr;
  }
  std::wmemcpy(lookup->proxy, proxy, length + 1);
  // Through the C runtime: the lookup uses its heap and exceptions.
  ScopedHandle thread(reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, &LookUpCredentials, lookup, 0, nullptr)));
  if (!thread.is_valid()) {
    *log << refusal << ": its credentials could not be looked up: "
         << static_cast<int64_t>(GetLastError());
    log->EndLine();
    return nullptr;
  }
  if (WaitForSingleObject(thread.get(), kProxyCredentialsWaitMs) != WAIT_OBJECT_0) {
    *log << refusal << ": its credentials were not found within "
         << static_cast<int64_t>(kProxyCredentialsWaitMs) << " ms";
    log->EndLine();
    return nullptr;
  }
  switch (lookup->result.load()) {
    case CredentialsLookup::kFound:
      return lookup;
    case CredentialsLookup::kNone:
      *log << refusal << ", and the run has no credentials for it";
      break;
    case CredentialsLookup::kTooLong:
      *log << refusal << ": its credentials are too long to use";
      break;
    default:
      *log << refusal << ": its credentials could not be read";
      break;
  }
  log->EndLine();
  return nullptr;
}

// Answers a proxy's 407: integrated sign-in where the proxy offers it, then
// Basic with the run's credentials, each once.
class ProxyAnswer {
 public:
  ProxyAnswer(const wchar_t* proxy, ReportArena* scratch, ReportLog* log)
      : proxy_(proxy), scratch_(scratch), log_(log) {}

  // Sets what the next send answers the proxy with; false (noted) when
  // there is nothing left to try.
  bool Prepare(HINTERNET request, int sends) {
    // "HTTP status 407 from the proxy HOST:PORT", then why it stays so.
    char refusal_memory[64 + kMaxProxyUnits];
    FixedWriter refusal(refusal_memory, sizeof(refusal_memory));
    refusal.Append("HTTP status 407 from the proxy ");
    for (const wchar_t* c = proxy_; *c && refusal.ok(); ++c) {
      const char unit = *c < 0x80 ? static_cast<char>(*c) : '?';
      refusal.Append(std::string_view(&unit, 1));
    }
    const std::string_view said = refusal.view();
    if (sends >= kMaxUploadSends) {
      *log_ << said << " after " << static_cast<int64_t>(sends) << " sends";
      log_->EndLine();
      return false;
    }
    DWORD supported = 0, first = 0, target = 0;
    if (!WinHttpQueryAuthSchemes(request, &supported, &first, &target)) {
      *log_ << said;
      log_->EndLine();
      return Fail(log_, "WinHttpQueryAuthSchemes");
    }
    const DWORD integrated = supported & WINHTTP_AUTH_SCHEME_NEGOTIATE
                                 ? WINHTTP_AUTH_SCHEME_NEGOTIATE
                                 : supported & WINHTTP_AUTH_SCHEME_NTLM;
    if (integrated && !tried_integrated_) {
      tried_integrated_ = true;
      // A failure is noted, and Basic may still answer.
      if (SetIntegrated(request, integrated)) return true;
    }
    if ((supported & WINHTTP_AUTH_SCHEME_BASIC) && !tried_basic_) {
      tried_basic_ = true;
      CredentialsLookup* credentials = FindCredentialsBounded(proxy_, scratch_, log_, said);
      if (!credentials) return false;
      const BOOL set =
          WinHttpSetCredentials(request, WINHTTP_AUTH_TARGET_PROXY, WINHTTP_AUTH_SCHEME_BASIC,
                                credentials->user, credentials->password, nullptr);
      // WinHTTP keeps its own copy.
      credentials->Wipe();
      if (!set) return Fail(log_, "WinHttpSetCredentials");
      return true;
    }
    *log_ << said;
    if (tried_basic_) {
      *log_ << ": it refused the run's credentials";
    } else if (tried_integrated_) {
      *log_ << ": it refused the integrated sign-in";
    } else {
      *log_ << ": it offers no scheme the upload can answer";
    }
    log_->EndLine();
    return false;
  }

 private:
  // The logged-on user's own sign-in, which WinHTTP's default policy keeps
  // for hosts on the bypass list: a proxy never is one.
  bool SetIntegrated(HINTERNET request, DWORD scheme) {
    DWORD policy = WINHTTP_AUTOLOGON_SECURITY_LEVEL_LOW;
    if (!WinHttpSetOption(request, WINHTTP_OPTION_AUTOLOGON_POLICY, &policy, sizeof(policy))) {
      return Fail(log_, "WinHttpSetOption");
    }
    if (!WinHttpSetCredentials(request, WINHTTP_AUTH_TARGET_PROXY, scheme, nullptr, nullptr,
                               nullptr)) {
      return Fail(log_, "WinHttpSetCredentials");
    }
    return true;
  }

  const wchar_t* proxy_;
  ReportArena* scratch_;
  ReportLog* log_;
  bool tried_integrated_ = false;
  bool tried_basic_ = false;
};

// "Content-Length: " + |size| + CRLF, zero-terminated.
void ContentLengthHeader(size_t size, wchar_t (&out)[64]) {
  static constexpr wchar_t kName[] = L"Content-Length: ";
  size_t at = 0;
  for (const wchar_t* c = kName; *c; ++c) out[at++] = *c;
  wchar_t digits[24];
  size_t count = 0;
  do {
    digits[count++] = static_cast<wchar_t>(L'0' + size % 10);
    size /= 10;
  } while (size != 0);
  while (count > 0) out[at++] = digits[--count];
  out[at++] = L'\r';
  out[at++] = L'\n';
  out[at] = L'\0';
}

std::optional<ModuleVersion> SystemModuleVersion(const wchar_t* name) {
  wchar_t directory[MAX_PATH];
  const UINT length = GetSystemDirectoryW(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  const std::optional<VS_FIXEDFILEINFO> info =
      ReadFixedFileInfo(FilePath(FromWide(directory, length)).Append(FromWide(name)));
  if (!info) return std::nullopt;
  return ModuleVersion{info->dwFileVersionMS, info->dwFileVersionLS, info->dwFileOS};
}

// One send of the whole request: headers, body, and the wait for the
// answer's headers. The first send writes the body piece by piece, each
// piece within the deadline. A send that answers a proxy hands WinHTTP the
// whole body with the headers instead: WinHTTP may answer the proxy itself
// and send again inside WinHttpReceiveResponse (Wine's does, once it has
// credentials), and it can send again only what it was handed.
bool SendOnce(HINTERNET request, const HttpUpload& upload, const Deadline& deadline,
              bool body_with_headers, ReportLog* log) {
  if (!Bound(request, true, upload, deadline, log)) return false;
  const DWORD size = static_cast<DWORD>(upload.body.size());
  if (!WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                          body_with_headers ? const_cast<char*>(upload.body.data()) : nullptr,
                          body_with_headers ? size : 0, size, 0)) {
    return Fail(log, "WinHttpSendRequest");
  }
  for (size_t sent = body_with_headers ? upload.body.size() : 0; sent < upload.body.size();) {
    if (!Bound(request, true, upload, deadline, log)) return false;
    const DWORD piece =
        static_cast<DWORD>(std::min<size_t>(kWritePieceSize, upload.body.size() - sent));
    DWORD written = 0;
    if (!WinHttpWriteData(request, upload.body.data() + sent, piece, &written) || written == 0) {
      return Fail(log, "WinHttpWriteData");
    }
    sent += written;
  }
  if (!Bound(request, true, upload, deadline, log)) return false;
  if (!WinHttpReceiveResponse(request, nullptr)) return Fail(log, "WinHttpReceiveResponse");
  return true;
}

// Reads what is left of an answer, up to |limit| bytes and the deadline;
// false when it did not end in order.
bool ReadRest(HINTERNET request, const HttpUpload& upload, const Deadline& deadline,
              size_t limit, ReportLog* log) {
  for (size_t read_total = 0; read_total < limit;) {
    if (!Bound(request, true, upload, deadline, log)) return false;
    char buffer[kReadPieceSize];
    DWORD read = 0;
    if (!WinHttpReadData(request, buffer, sizeof(buffer), &read)) {
      return Fail(log, "WinHttpReadData");
    }
    if (read == 0) return true;
    read_total += read;
  }
  return false;
}

}  // namespace

std::string CrashUploadUserAgent() {
  BOOL wow64 = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &wow64)) wow64 = FALSE;
  return CrashpadUserAgent(SystemModuleVersion(L"winhttp.dll"),
                           SystemModuleVersion(L"kernel32.dll"), wow64 != FALSE);
}

bool PostWithWinHttp(const HttpUpload& upload, ReportArena* scratch, ReportLog* log) {
  const Deadline deadline(upload.deadline_ms);
  const bool through_proxy = upload.proxy && *upload.proxy;
  // The bypass list was applied when the proxy was chosen for this URL.
  ScopedWinHttpHandle session(WinHttpOpen(
      upload.user_agent, through_proxy ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY,
      through_proxy ? upload.proxy : WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return Fail(log, "WinHttpOpen");
  if (!Bound(session.get(), false, upload, deadline, log)) return false;

  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength =
      parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(upload.url, 0, 0, &parts)) return Fail(log, "WinHttpCrackUrl");
  auto* host = static_cast<wchar_t*>(
      scratch->Allocate((parts.dwHostNameLength + 1) * sizeof(wchar_t), alignof(wchar_t)));
  if (!host) {
    *log << "No memory for the host name";
    log->EndLine();
    return false;
  }
  std::wmemcpy(host, parts.lpszHostName, parts.dwHostNameLength);
  host[parts.dwHostNameLength] = L'\0';
  // The path runs on into the query and the end of the URL.
  const wchar_t* path_and_query = parts.lpszUrlPath;

  ScopedWinHttpHandle connection(WinHttpConnect(session.get(), host, parts.nPort, 0));
  if (!connection) return Fail(log, "WinHttpConnect");
  ScopedWinHttpHandle request(WinHttpOpenRequest(
      connection.get(), L"POST", path_and_query, nullptr, WINHTTP_NO_REFERER,
      WINHTTP_DEFAULT_ACCEPT_TYPES,
      parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
  if (!request) return Fail(log, "WinHttpOpenRequest");

  if (!WinHttpAddRequestHeaders(request.get(), upload.headers, static_cast<DWORD>(-1),
                                WINHTTP_ADDREQ_FLAG_ADD)) {
    return Fail(log, "WinHttpAddRequestHeaders");
  }
  wchar_t length_header[64];
  ContentLengthHeader(upload.body.size(), length_header);
  if (!WinHttpAddRequestHeaders(request.get(), length_header, static_cast<DWORD>(-1),
                                WINHTTP_ADDREQ_FLAG_ADD)) {
    return Fail(log, "WinHttpAddRequestHeaders");
  }

  // The body is in memory whole, so a proxy's 407 is answered by sending
  // all of it again.
  ProxyAnswer answer(upload.proxy, scratch, log);
  DWORD status = 0;
  for (int sends = 1;; ++sends) {
    if (!SendOnce(request.get(), upload, deadline, sends > 1, log)) return false;
    DWORD status_size = sizeof(status);
    if (!WinHttpQueryHeaders(request.get(),
                             WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &status_size,
                             WINHTTP_NO_HEADER_INDEX)) {
      return Fail(log, "WinHttpQueryHeaders");
    }
    if (status != HTTP_STATUS_PROXY_AUTH_REQ || !through_proxy) break;
    if (!answer.Prepare(request.get(), sends)) return false;
    // The refusal's page, so that the connection can carry the next send;
    // one that does not end in order leaves the connection to WinHTTP.
    ReadRest(request.get(), upload, deadline, kMaxRefusalBytes, log);
  }
  if (status != 200) {
    *log << "HTTP status " << static_cast<int64_t>(status);
    log->EndLine();
    return false;
  }
  // The collector has the report. Its answer is not used: it is read, up
  // to the limit and the deadline, only so the connection ends in order,
  // and a failure to read it changes nothing.
  ReadRest(request.get(), upload, deadline, upload.response_limit, log);
  return true;
}

}  // namespace lite
