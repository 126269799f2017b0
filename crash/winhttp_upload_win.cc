// The body is sent with its length known in advance ("Content-Length"),
// not in chunks of unknown total: that is the one framing that both
// Windows' and Wine's WinHTTP put on the wire as valid HTTP/1.1. The body is
// small (a gzip-compressed dump of stack-referenced memory), so it is built
// whole before the request opens.
#include "crash/winhttp_upload_win.h"

#include <winhttp.h>

#include <algorithm>
#include <cwchar>
#include <optional>

#include "base/file_version_win.h"
#include "base/scoped_handle_win.h"
#include "base/wide_string_win.h"
#include "crash/upload_url.h"

namespace lite {
namespace {

constexpr DWORD kWritePieceSize = 32768;
constexpr DWORD kReadPieceSize = 4096;

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

}  // namespace

std::string CrashUploadUserAgent() {
  BOOL wow64 = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &wow64)) wow64 = FALSE;
  return CrashpadUserAgent(SystemModuleVersion(L"winhttp.dll"),
                           SystemModuleVersion(L"kernel32.dll"), wow64 != FALSE);
}

bool PostWithWinHttp(const HttpUpload& upload, ReportArena* scratch, ReportLog* log) {
  const Deadline deadline(upload.deadline_ms);
  ScopedWinHttpHandle session(WinHttpOpen(upload.user_agent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                          WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
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
  if (!Bound(request.get(), true, upload, deadline, log)) return false;
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                          WINHTTP_NO_REQUEST_DATA, 0, static_cast<DWORD>(upload.body.size()),
                          0)) {
    return Fail(log, "WinHttpSendRequest");
  }
  for (size_t sent = 0; sent < upload.body.size();) {
    if (!Bound(request.get(), true, upload, deadline, log)) return false;
    const DWORD piece =
        static_cast<DWORD>(std::min<size_t>(kWritePieceSize, upload.body.size() - sent));
    DWORD written = 0;
    if (!WinHttpWriteData(request.get(), upload.body.data() + sent, piece, &written) ||
        written == 0) {
      return Fail(log, "WinHttpWriteData");
    }
    sent += written;
  }
  if (!Bound(request.get(), true, upload, deadline, log)) return false;
  if (!WinHttpReceiveResponse(request.get(), nullptr)) return Fail(log, "WinHttpReceiveResponse");

  DWORD status = 0;
  DWORD status_size = sizeof(status);
  if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &status_size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return Fail(log, "WinHttpQueryHeaders");
  }
  if (status != 200) {
    *log << "HTTP status " << static_cast<int64_t>(status);
    log->EndLine();
    return false;
  }
  // The collector has the report. Its answer is not used: it is read, up
  // to the limit and the deadline, only so the connection ends in order,
  // and a failure to read it changes nothing.
  for (size_t read_total = 0; read_total < upload.response_limit;) {
    if (!Bound(request.get(), true, upload, deadline, log)) break;
    char buffer[kReadPieceSize];
    DWORD read = 0;
    if (!WinHttpReadData(request.get(), buffer, sizeof(buffer), &read)) {
      Fail(log, "WinHttpReadData");
      break;
    }
    if (read == 0) break;
    read_total += read;
  }
  return true;
}

}  // namespace lite
