#include "tests/cdn/test_server_win.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <mutex>

#include "base/file_util_win.h"
#include "base/json/json_reader.h"
#include "base/json/json_writer.h"
#include "base/process_win.h"
#include "base/proc_address_win.h"
#include "base/utf.h"
#include "base/wide_string_win.h"
#include "tests/support/child_process_win.h"

namespace lite {
namespace testing {
namespace {

// Wine's own export: the Unix name of a Windows path, from the process heap.
using WineGetUnixFileName = char*(CDECL*)(const wchar_t*);

// Wine shows the Unix root as drive Z:.
std::u16string WindowsPathOfUnix(const std::string& unix_path) {
  std::u16string path = u"Z:" + UTF8ToUTF16(unix_path);
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
  return path;
}

bool StartWinsock() {
  static std::once_flag once;
  static bool started = false;
  std::call_once(once, [] {
    WSADATA data;
    started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  });
  return started;
}

}  // namespace

std::optional<std::string> UnixPathOf(const FilePath& path) {
  auto convert = GetProcAddressAs<WineGetUnixFileName>(GetModuleHandleW(L"kernel32.dll"),
                                                       "wine_get_unix_file_name");
  if (!convert) return std::nullopt;
  char* unix_path = convert(AsWide(path.value()));
  if (!unix_path) return std::nullopt;
  std::string result(unix_path);
  HeapFree(GetProcessHeap(), 0, unix_path);
  return result;
}

std::u16string QuotedWord(const std::string& text) { return u"\"" + UTF8ToUTF16(text) + u"\""; }

RefusingPort::RefusingPort() : socket_(INVALID_SOCKET) {
  if (!StartWinsock()) return;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(address);
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(s);
    return;
  }
  socket_ = s;
  port_ = ntohs(address.sin_port);
}

RefusingPort::~RefusingPort() {
  if (socket_ != INVALID_SOCKET) closesocket(static_cast<SOCKET>(socket_));
}

RawHttpResponse RawHttpRequest(uint16_t port, const std::string& method,
                               const std::string& target, const std::string& body) {
  RawHttpResponse response;
  if (!StartWinsock()) return response;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return response;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string raw;
  // A server that stops answering fails the request instead of holding the
  // test until its run's time-out.
  const DWORD io_timeout_ms = 30000;
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&io_timeout_ms),
             sizeof(io_timeout_ms));
  setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&io_timeout_ms),
             sizeof(io_timeout_ms));
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) {
    const std::string request = method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" +
                                "Connection: close\r\nContent-Length: " +
                                std::to_string(body.size()) + "\r\n\r\n" + body;
    if (send(s, request.data(), static_cast<int>(request.size()), 0) ==
        static_cast<int>(request.size())) {
      char buffer[16384];
      int n;
      while ((n = recv(s, buffer, sizeof(buffer), 0)) > 0) raw.append(buffer, n);
    }
  }
  closesocket(s);
  const size_t head_end = raw.find("\r\n\r\n");
  if (raw.compare(0, 9, "HTTP/1.1 ") != 0 || head_end == std::string::npos) return response;
  response.status = atoi(raw.c_str() + 9);
  response.body = raw.substr(head_end + 4);
  return response;
}

bool ScriptServer::StartScript(const char* script, const std::u16string& arguments) {
  Stop();
  dir_ = MakeScratchDir();
  log_path_ = dir_.Append(u"requests.jsonl");
  const FilePath port_file = dir_.Append(u"port");
  std::optional<std::string> unix_port_file = UnixPathOf(port_file);
  std::optional<std::string> unix_log = UnixPathOf(log_path_);
  if (!unix_port_file || !unix_log) return false;
  const std::u16string command = u"\"" + WindowsPathOfUnix(TL_PYTHON3) + u"\" " +
                                 QuotedWord(script) + u" --port 0 --idle-exit 600 --port-file " +
                                 QuotedWord(*unix_port_file) + u" --log " +
                                 QuotedWord(*unix_log) + arguments;
  // Wine runs a Unix program detached: the handle it returns cannot be
  // waited on, so the port file tells when the server listens.
  LaunchProcess(command);
  for (int i = 0; i < 2000; ++i) {
    std::optional<std::string> text = ReadFileWithLimit(port_file, 64);
    if (text && !text->empty()) {
      port_ = static_cast<uint16_t>(atoi(text->c_str()));
      return port_ != 0;
    }
    Sleep(10);
  }
  return false;
}

void ScriptServer::Stop() {
  if (port_ != 0) {
    const std::string empty = "{}";
    Control("shutdown", std::string(), &empty);
    // The server closes its socket a moment after answering; wait for it,
    // so that a test can count on the port being dead.
    for (int i = 0; i < 500 && RawHttpRequest(port_, "GET", "/__control/ping", "").status != 0;
         ++i) {
      Sleep(10);
    }
    port_ = 0;
  }
  if (!dir_.empty()) {
    DeletePathRecursively(dir_);
    dir_ = FilePath();
  }
}

std::optional<std::string> ScriptServer::Control(const std::string& command,
                                                 const std::string& query,
                                                 const std::string* body) {
  if (port_ == 0) return std::nullopt;
  std::string target = "/__control/" + command;
  if (!query.empty()) target += "?" + query;
  RawHttpResponse response =
      RawHttpRequest(port_, body ? "POST" : "GET", target, body ? *body : std::string());
  if (response.status != 200) return std::nullopt;
  return response.body;
}

bool ScriptServer::SetRule(const std::string& path, const std::string& rule, bool append) {
  std::optional<Value> fields = ReadJson(rule, nullptr);
  if (!fields || !fields->is_dict()) return false;
  (*fields->GetIfDict())["path"] = Value(path);
  if (append) (*fields->GetIfDict())["append"] = Value(true);
  const std::string body = WriteJson(*fields);
  return Control("rule", std::string(), &body).has_value();
}

bool ScriptServer::Clear() {
  const std::string empty = "{}";
  return Control("clear", std::string(), &empty).has_value();
}

std::optional<Value> ScriptServer::Requests(const std::string& path_prefix) {
  std::string query = "path=";
  for (unsigned char c : path_prefix) {
    if (isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.') {
      query.push_back(static_cast<char>(c));
    } else {
      char escaped[4];
      snprintf(escaped, sizeof(escaped), "%%%02X", c);
      query += escaped;
    }
  }
  std::optional<std::string> body = Control("requests", query, nullptr);
  if (!body) return std::nullopt;
  return ReadJson(*body, nullptr);
}

}  // namespace testing
}  // namespace lite
