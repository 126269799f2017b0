// The body is sent with its length known in advance ("Content-Length"),
// not in chunks of unknown total: that is the one framing that both
// Windows' and Wine's WinHTTP put on the wire as valid HTTP/1.1. The body is
// small (a gzip-compressed dump of stack-referenced memory), so it is built
// whole before the request opens.
#include "crash/winhttp_upload_win.h"

#include <winhttp.h>

#include <algorithm>
#include <optional>

#include "base/debug_log.h"
#include "base/file_version_win.h"
#include "base/scoped_handle_win.h"
#include "base/utf.h"
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

// "Call: " + the error's text from WinHTTP's message table (or the
// system's), to the diagnostics file; always false.
bool Fail(const char* call) {
  const DWORD error = GetLastError();
  wchar_t text[1024] = {};
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                                GetModuleHandleW(L"winhttp.dll"), error, 0, text,
                                ARRAYSIZE(text), nullptr);
  if (length == 0) {
    length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                            error, 0, text, ARRAYSIZE(text), nullptr);
  }
  DLOG(ERROR) << call << ": " << static_cast<long long>(error) << " "
              << UTF16ToUTF8(FromWide(text, length));
  return false;
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

bool PostWithWinHttp(const HttpUpload& upload) {
  const std::u16string agent = UTF8ToUTF16(upload.user_agent);
  ScopedWinHttpHandle session(WinHttpOpen(AsWide(agent), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                          WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return Fail("WinHttpOpen");
  const int timeout = static_cast<int>(upload.timeout_ms);
  if (!WinHttpSetTimeouts(session.get(), timeout, timeout, timeout, timeout)) {
    return Fail("WinHttpSetTimeouts");
  }

  // URLs are ASCII: widened byte by byte.
  const std::u16string url(upload.url.begin(), upload.url.end());
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength =
      parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(AsWide(url), 0, 0, &parts)) return Fail("WinHttpCrackUrl");
  const std::u16string host = FromWide(parts.lpszHostName, parts.dwHostNameLength);
  const std::u16string path = FromWide(parts.lpszUrlPath, parts.dwUrlPathLength) +
                              FromWide(parts.lpszExtraInfo, parts.dwExtraInfoLength);

  ScopedWinHttpHandle connection(WinHttpConnect(session.get(), AsWide(host), parts.nPort, 0));
  if (!connection) return Fail("WinHttpConnect");
  ScopedWinHttpHandle request(WinHttpOpenRequest(
      connection.get(), L"POST", AsWide(path), nullptr, WINHTTP_NO_REFERER,
      WINHTTP_DEFAULT_ACCEPT_TYPES,
      parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
  if (!request) return Fail("WinHttpOpenRequest");

  std::string headers;
  for (const auto& [name, value] : upload.headers) headers += name + ": " + value + "\r\n";
  headers += "Content-Length: " + std::to_string(upload.body.size()) + "\r\n";
  const std::u16string wide_headers = UTF8ToUTF16(headers);
  if (!WinHttpAddRequestHeaders(request.get(), AsWide(wide_headers),
                                static_cast<DWORD>(wide_headers.size()),
                                WINHTTP_ADDREQ_FLAG_ADD)) {
    return Fail("WinHttpAddRequestHeaders");
  }
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                          WINHTTP_NO_REQUEST_DATA, 0, static_cast<DWORD>(upload.body.size()),
                          0)) {
    return Fail("WinHttpSendRequest");
  }
  for (size_t sent = 0; sent < upload.body.size();) {
    const DWORD piece =
        static_cast<DWORD>(std::min<size_t>(kWritePieceSize, upload.body.size() - sent));
    DWORD written = 0;
    if (!WinHttpWriteData(request.get(), upload.body.data() + sent, piece, &written) ||
        written == 0) {
      return Fail("WinHttpWriteData");
    }
    sent += written;
  }
  if (!WinHttpReceiveResponse(request.get(), nullptr)) return Fail("WinHttpReceiveResponse");

  DWORD status = 0;
  DWORD status_size = sizeof(status);
  if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &status_size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return Fail("WinHttpQueryHeaders");
  }
  if (status != 200) {
    DLOG(ERROR) << "HTTP status " << static_cast<long long>(status);
    return false;
  }
  // The answer is read to its end, and not used.
  for (;;) {
    char buffer[kReadPieceSize];
    DWORD read = 0;
    if (!WinHttpReadData(request.get(), buffer, sizeof(buffer), &read)) {
      return Fail("WinHttpReadData");
    }
    if (read == 0) break;
  }
  return true;
}

}  // namespace lite
