// CrashHandler::SendReport: the dump and the crash keys as a gzip-compressed
// multipart POST to the collector, built in the handler's reserved memory.
#include <windows.h>

#include "crash/crash_handler_win.h"
#include "crash/gzip.h"
#include "crash/multipart_body.h"
#include "crash/report_space_win.h"
#include "crash/upload_url.h"
#include "crash/winhttp_upload_win.h"

namespace lite {
namespace {

constexpr char kMinidumpField[] = "upload_file_minidump";
constexpr DWORD kUploadTimeoutMs = 60000;
// The whole upload, from opening the session to reading the answer.
constexpr DWORD kUploadDeadlineMs = 120000;
constexpr size_t kResponseLimit = 65536;
constexpr size_t kReadPieceSize = 65536;
constexpr size_t kUrlCapacity = 2048;
constexpr size_t kHeadersCapacity = 512;

// |text| (ASCII) widened unit by unit into a new zero-terminated buffer of
// |arena|; null when it does not fit.
const wchar_t* Widen(std::string_view text, ReportArena* arena) {
  auto* wide =
      static_cast<wchar_t*>(arena->Allocate((text.size() + 1) * sizeof(wchar_t), alignof(wchar_t)));
  if (!wide) return nullptr;
  for (size_t i = 0; i < text.size(); ++i) wide[i] = static_cast<unsigned char>(text[i]);
  wide[text.size()] = L'\0';
  return wide;
}

// Marks the open file for deletion; it goes when its last handle closes.
bool DeleteThroughHandle(HANDLE file) {
  FILE_DISPOSITION_INFO disposition = {};
  disposition.DeleteFile = TRUE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                    sizeof(disposition));
}

}  // namespace

bool CrashHandler::ReadDumpInto(ByteSink* body, ReportLog* log) {
  LARGE_INTEGER size = {};
  LARGE_INTEGER start = {};
  if (!GetFileSizeEx(dump_file_.get(), &size) ||
      !SetFilePointerEx(dump_file_.get(), start, nullptr, FILE_BEGIN)) {
    *log << "The dump file could not be read: " << static_cast<int64_t>(GetLastError());
    log->EndLine();
    return false;
  }
  if (static_cast<uint64_t>(size.QuadPart) > kMaxUploadedDumpSize) {
    *log << "The dump is too large to send: " << static_cast<int64_t>(size.QuadPart) << " bytes";
    log->EndLine();
    return false;
  }
  char* buffer = static_cast<char*>(scratch_.Allocate(kReadPieceSize));
  if (!buffer) return false;
  for (int64_t left = size.QuadPart; left > 0;) {
    DWORD read = 0;
    if (!ReadFile(dump_file_.get(), buffer, static_cast<DWORD>(kReadPieceSize), &read, nullptr) ||
        read == 0) {
      *log << "The dump file could not be read: " << static_cast<int64_t>(GetLastError());
      log->EndLine();
      return false;
    }
    if (!body->Append(std::string_view(buffer, read))) return false;
    left -= read;
  }
  return true;
}

bool CrashHandler::SendReport() {
  if (!space_ || !dump_file_.is_valid()) return false;
  ReportLog& log = space_->log;
  const CrashKeyList& keys = ReportKeys();
  const std::string_view boundary = space_->boundary.view();

  char* body_memory = static_cast<char*>(scratch_.Allocate(kMaxUploadBodySize));
  if (!body_memory) {
    log << "No memory for the upload";
    log.EndLine();
    return false;
  }
  FixedWriter body(body_memory, kMaxUploadBodySize);
  GzipStream gzip(&scratch_, &body);
  ByteSink* out = gzip_enabled_ ? static_cast<ByteSink*>(&gzip) : &body;

  bool ok = true;
  for (const CrashKey& key : keys) {
    if (key.name == kMinidumpField) continue;  // noted once the report is out
    ok = ok && WriteMultipartField(boundary, key.name, key.value, out);
  }
  sent_fields_ = true;
  char file_name_memory[kMaxCrashKeyValueLength + 8];
  FixedWriter file_name(file_name_memory, sizeof(file_name_memory));
  const std::string_view* uid = keys.Find("uid");
  file_name.Append(uid ? *uid : std::string_view());
  file_name.Append(".dmp");
  ok = ok &&
       WriteMultipartFileHead(boundary, kMinidumpField, file_name.view(),
                              "application/octet-stream", out) &&
       ReadDumpInto(out, &log) && WriteMultipartFileEnd(out) && WriteMultipartClose(boundary, out);
  if (ok && gzip_enabled_) ok = gzip.Finish();
  if (!ok || !body.ok()) {
    log << "The upload body could not be made (at most "
        << static_cast<int64_t>(kMaxUploadBodySize) << " bytes)";
    log.EndLine();
    return false;
  }

  char* url_memory = static_cast<char*>(scratch_.Allocate(kUrlCapacity));
  char* headers_memory = static_cast<char*>(scratch_.Allocate(kHeadersCapacity));
  if (!url_memory || !headers_memory) return false;
  FixedWriter url(url_memory, kUrlCapacity);
  url.Append(space_->submit_url.view());
  WriteCrashUploadQuery(keys, &url);
  FixedWriter headers(headers_memory, kHeadersCapacity);
  headers.Append("Content-Type: multipart/form-data; boundary=");
  headers.Append(boundary);
  headers.Append("\r\n");
  if (gzip_enabled_) headers.Append("Content-Encoding: gzip\r\n");

  HttpUpload upload;
  upload.url = url.ok() ? Widen(url.view(), &scratch_) : nullptr;
  upload.headers = headers.ok() ? Widen(headers.view(), &scratch_) : nullptr;
  upload.user_agent = space_->user_agent.wide();
  upload.body = body.view();
  upload.timeout_ms = kUploadTimeoutMs;
  upload.deadline_ms = kUploadDeadlineMs;
  upload.response_limit = kResponseLimit;
  if (!upload.url || !upload.headers) {
    log << "The upload's URL or headers do not fit";
    log.EndLine();
    return false;
  }
  if (!UploadProxy(&upload.proxy, &log)) return false;
  if (!PostWithWinHttp(upload, &scratch_, &log)) return false;
  if (!DeleteThroughHandle(dump_file_.get())) {
    log << "The sent dump could not be deleted: " << static_cast<int64_t>(GetLastError());
    log.EndLine();
  }
  return true;
}

}  // namespace lite
