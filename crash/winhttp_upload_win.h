// One HTTP POST through WinHTTP, for crash uploads.
#ifndef CRASH_WINHTTP_UPLOAD_WIN_H_
#define CRASH_WINHTTP_UPLOAD_WIN_H_

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace lite {

struct HttpUpload {
  std::string url;
  std::string user_agent;
  // Name and value; Content-Length is added by the transport.
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  DWORD timeout_ms = 60000;
};

// Posts |upload|; true only when the server answered 200. Failures are
// written to the library diagnostics file.
bool PostWithWinHttp(const HttpUpload& upload);

// The user agent of crash uploads on this system.
std::string CrashUploadUserAgent();

}  // namespace lite

#endif  // CRASH_WINHTTP_UPLOAD_WIN_H_
