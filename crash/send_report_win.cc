// CrashHandler::SendReport: the dump and the crash keys as a gzip-compressed
// multipart POST to the collector.
#include <windows.h>

#include "base/crypto_random.h"
#include "base/debug_log.h"
#include "base/endpoints.h"
#include "base/wide_string_win.h"
#include "crash/crash_handler_win.h"
#include "crash/gzip.h"
#include "crash/multipart_body.h"
#include "crash/upload_url.h"
#include "crash/winhttp_upload_win.h"
#include "logging/log_message.h"

namespace lite {
namespace {

constexpr char kMinidumpField[] = "upload_file_minidump";
constexpr DWORD kUploadTimeoutMs = 60000;

std::optional<std::string> ReadWholeFile(HANDLE file) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read,
                  nullptr) ||
        read == 0) {
      return std::nullopt;
    }
    done += read;
  }
  return bytes;
}

}  // namespace

bool CrashHandler::SendReport() {
  ScopedHandle file(CreateFileW(AsWide(dump_path_.value()), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.is_valid()) return false;
  std::optional<std::string> dump = ReadWholeFile(file.get());
  file.reset();
  if (!dump) {
    DLOG(ERROR) << "The dump file could not be read.";
    return false;
  }

  const CrashAnnotations annotations = annotations_;
  MultipartBody body(MakeMultipartBoundary(CryptoRandomBelow));
  for (const auto& [key, value] : annotations) {
    if (key == kMinidumpField) {
      LOG_FROM(WARNING, "SendReport") << "reserved key " << key << ", discarding value " << value;
      continue;
    }
    body.SetField(key, value);
  }
  const auto uid = annotations.find("uid");
  body.SetFile(kMinidumpField, (uid != annotations.end() ? uid->second : "") + ".dmp",
               "application/octet-stream", std::move(*dump));

  HttpUpload upload;
  upload.url = RouteRequestUrl(CrashUploadUrl(upload_host_, annotations));
  upload.user_agent = CrashUploadUserAgent();
  upload.headers.emplace_back("Content-Type", body.ContentType());
  upload.timeout_ms = kUploadTimeoutMs;
  if (gzip_enabled_) {
    std::optional<std::string> packed = GzipCompress(body.Render());
    if (!packed) return false;
    upload.body = std::move(*packed);
    upload.headers.emplace_back("Content-Encoding", "gzip");
  } else {
    upload.body = body.Render();
  }
  if (!PostWithWinHttp(upload)) return false;
  DeleteFileW(AsWide(dump_path_.value()));
  return true;
}

}  // namespace lite
