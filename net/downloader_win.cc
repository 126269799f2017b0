#include "net/downloader_win.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <optional>

#include "base/endpoints.h"
#include "base/file_util_win.h"
#include "base/platform_request_headers.h"
#include "base/utf.h"
#include "base/waitable_event_win.h"
#include "base/wide_string_win.h"
#include "base/windows_version_win.h"
#include "logging/log_message.h"
#include "logging/system_error_win.h"
#include "net/file_sink_win.h"
#include "net/request_headers.h"
#include "net/transfer_stop_win.h"
#include "proxy/internet_session_win.h"

namespace lite {
namespace {

constexpr wchar_t kUserAgent[] = L"Tolvar.Browser lite installer";
// Always from the server, and never into WinINet's cache: a cached copy of a
// 200 MiB archive would double the disk writes and stay behind.
constexpr DWORD kOpenFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

// WinINet's status callback; the context is the downloader's redirect-URL
// field, which nothing else touches while InternetOpenUrlW runs.
void CALLBACK OnInternetStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info,
                               DWORD info_length) {
  if (status != INTERNET_STATUS_REDIRECT || context == 0 || info == nullptr) return;
  const auto* target = static_cast<const wchar_t*>(info);
  const size_t units = info_length ? info_length / sizeof(wchar_t) : wcslen(target);
  *reinterpret_cast<std::u16string*>(context) = FromWide(target, wcsnlen(target, units));
}

}  // namespace

bool IsCancelSignaled(HANDLE cancel_event) {
  return cancel_event && IsEventSignaled(cancel_event);
}

Downloader::Downloader(TransferStop* stop, ProxyPromptUse prompt_use)
    : stop_(stop), prompt_use_(prompt_use), buffer_(std::make_unique<std::array<char, kDownloadBufferSize>>()) {}

Downloader::~Downloader() { CloseHandles(); }

void Downloader::CloseHandles() {
  for (ScopedInternetHandle* handle : {&request_, &session_}) {
    // A handle the stop has closed is no longer ours.
    if (stop_ && handle->is_valid() && !stop_->Unwatch(handle->get())) handle->release();
    handle->reset();
  }
}

bool Downloader::WatchForStop(ScopedInternetHandle* handle) {
  if (!stop_ || stop_->Watch(handle->get())) return true;
  handle->release();
  return false;
}

void Downloader::RecordError(const std::string& stage, DWORD error) {
  if (last_error_.empty()) last_error_ = stage + std::to_string(error);
}

void Downloader::RecordFailure(TransferFailure failure) {
  failure.through_proxy = !proxy_.empty();
  if (last_error_.empty()) last_error_ = TransferFailureText(failure);
}

bool Downloader::IsTunnelRequestAnswer() {
  if (proxy_.empty() || !request_) return false;
  const std::u16string& answered = redirect_url_.empty() ? target_ : redirect_url_;
  if (ToLowerASCII(answered.substr(0, 6)) != u"https:") return false;
  DWORD flags = 0;
  DWORD length = sizeof(flags);
  if (!InternetQueryOptionW(request_.get(), INTERNET_OPTION_SECURITY_FLAGS, &flags, &length)) {
    return false;
  }
  return (flags & SECURITY_FLAG_SECURE) == 0;
}

bool Downloader::QueryNumber(DWORD query, DWORD* value) {
  DWORD length = sizeof(*value);
  return request_ && HttpQueryInfoW(request_.get(), query | HTTP_QUERY_FLAG_NUMBER, value,
                                    &length, nullptr);
}

bool Downloader::OpenDownload(const std::u16string& url, DownloadSink* sink) {
  url_.clear();
  last_error_.clear();
  redirect_url_.clear();
  exception_ = StructuredException();
  total_size_ = 0;
  sink_ = nullptr;
  expected_status_ = HTTP_STATUS_OK;
  read_status_ = 0;
  proxy_auth_error_ = ERROR_SUCCESS;
  proxy_credentials_exhausted_ = false;
  CloseHandles();

  target_ = WidenBytes(RouteRequestUrl(NarrowLowBytes(url)));
  InternetSession session = OpenInternetSession(kUserAgent, target_);
  session_ = std::move(session.handle);
  proxy_ = std::move(session.proxy);
  if (!session_) {
    RecordError("internet_open-", session.open_error);
    return false;
  }
  if (!WatchForStop(&session_)) {
    RecordError("internet_open-", ERROR_INTERNET_OPERATION_CANCELLED);
    return false;
  }
  if (InternetSetStatusCallbackW(session_.get(), &OnInternetStatus) ==
      INTERNET_INVALID_STATUS_CALLBACK) {
    PLOG(ERROR) << "SetStatusCallback failed";
  }

  const WindowsVersion& version = GetWindowsVersion();
  std::u16string headers = BuildRequestHeaders(version.major, version.minor, version.ubr);
  const uint32_t offset = sink->bytes_written();
  if (offset != 0) headers += u"\r\n" + RangeHeaderLine(offset);

  HINTERNET request = nullptr;
  DWORD open_error = 0;
  StructuredException raised;
  const bool returned = RunWithExceptionGuard(
      [&] {
        request = InternetOpenUrlW(session_.get(), AsWide(target_), AsWide(headers),
                                   static_cast<DWORD>(-1), kOpenFlags,
                                   reinterpret_cast<DWORD_PTR>(&redirect_url_));
        open_error = GetLastError();
      },
      &raised);
  if (!returned) {
    exception_ = raised;
    PLOG(ERROR) << "An attempt to open url " << url << " generated an exception "
                << exception_.code;
    return false;
  }
  if (!request) {
    // After a stop the session may be closed already.
    if (!IsCancelSignaled(stop_ ? stop_->event() : nullptr)) {
      InternetSetStatusCallbackW(session_.get(), nullptr);
    }
    TransferFailure failure;
    failure.error = open_error;
    RecordFailure(failure);
    return false;
  }
  request_.reset(request);
  if (!WatchForStop(&request_)) {
    RecordError("internet_open_url-", ERROR_INTERNET_OPERATION_CANCELLED);
    return false;
  }
  if (!proxy_.empty()) {
    // The request headers, a range included, stay on the request for every
    // send.
    const ProxyAuthentication answer =
        AnswerProxyAuthentication(request_.get(), proxy_, url, prompt_use_);
    if (answer.cancelled) proxy_auth_error_ = ERROR_CANCELLED;
    proxy_credentials_exhausted_ = answer.exhausted;
    if (answer.send_error != ERROR_SUCCESS) {
      if (!IsCancelSignaled(stop_ ? stop_->event() : nullptr)) {
        InternetSetStatusCallbackW(session_.get(), nullptr);
      }
      TransferFailure failure;
      failure.error = answer.send_error;
      RecordFailure(failure);
      return false;
    }
  }

  if (offset != 0 && AcceptContinuation(offset) == Continuation::kRefused) {
    // The body starts over, but the attempt has failed: the caller's next
    // attempt begins from zero.
    RecordError("internet_set_file_pointer-", ERROR_INTERNET_INVALID_OPERATION);
    sink->Reset();
  }
  InternetSetStatusCallbackW(session_.get(), nullptr);
  url_ = url;
  sink_ = sink;
  LOG(INFO) << "Connection established: " << url;
  return true;
}

// A continued transfer asks for "Range: bytes=OFFSET-" (WinINet cannot
// position an HTTP body itself). Only a 206 whose range starts at the
// sink's size continues it; a full body, a range elsewhere or a refused
// range means starting over. Other statuses are ordinary failures that
// FinalizeDownload reports, and the sink keeps what it has.
Downloader::Continuation Downloader::AcceptContinuation(uint32_t offset) {
  DWORD status = 0;
  if (!QueryNumber(HTTP_QUERY_STATUS_CODE, &status)) return Continuation::kRefused;
  if (status == HTTP_STATUS_PARTIAL_CONTENT) {
    uint64_t full_size = 0;
    if (ContentRangeStartsAt(GetResponseHeader("Content-Range"), offset, &full_size)) {
      DWORD remaining = 0;
      if (full_size == 0 && QueryNumber(HTTP_QUERY_CONTENT_LENGTH, &remaining)) {
        full_size = static_cast<uint64_t>(offset) + remaining;
      }
      if (full_size <= UINT32_MAX) {
        total_size_ = static_cast<uint32_t>(full_size);
        expected_status_ = HTTP_STATUS_PARTIAL_CONTENT;
        return Continuation::kAccepted;
      }
    }
  } else if (status != HTTP_STATUS_OK && status != 416) {
    return Continuation::kUnsuccessfulAnswer;
  }
  LOG(WARNING) << "Continuation at byte " << offset << " refused with status " << status;
  return Continuation::kRefused;
}

uint32_t Downloader::ReadNext() {
  if (!last_error_.empty() || !sink_) return 0;
  DWORD received = 0;
  if (!InternetReadFile(request_.get(), buffer_->data(), kDownloadBufferSize, &received)) {
    RecordError("internet_read-", GetLastError());
    return 0;
  }
  // A response keeps its status; asking WinINet once per response rather
  // than once per read keeps large downloads fast.
  if (read_status_ == 0 && !QueryNumber(HTTP_QUERY_STATUS_CODE, &read_status_)) read_status_ = 0;
  if (read_status_ != 0 && read_status_ != expected_status_) return 0;
  if (received != 0 && !sink_->Write(buffer_->data(), received)) {
    if (sink_->full()) {
      LOG(ERROR) << "Download to memory stopped at its limit of " << kMaxInMemoryDownloadBytes
                 << " bytes: " << url_;
      RecordError("write_file-", ERROR_FILE_TOO_LARGE);
    } else {
      RecordError("write_file-", GetLastError());
    }
    return 0;
  }
  if (total_size_ == 0) {
    DWORD length = 0;
    if (QueryNumber(HTTP_QUERY_CONTENT_LENGTH, &length)) total_size_ = length;
  }
  if (received == 0 && total_size_ != 0 && sink_->bytes_written() < total_size_) {
    // WinINet ends the body quietly when the server closes early; a body
    // shorter than announced is a broken transfer, not a finished one.
    RecordError("internet_read-", ERROR_INTERNET_CONNECTION_ABORTED);
  }
  return received;
}

bool Downloader::FinalizeDownload(uint32_t* http_status) {
  if (!last_error_.empty()) return false;
  DWORD status = 0;
  SetLastError(ERROR_SUCCESS);
  const bool readable = QueryNumber(HTTP_QUERY_STATUS_CODE, &status);
  const DWORD error = GetLastError();
  if (!readable || status != expected_status_) {
    if (!readable) status = 0;
    TransferFailure failure;
    failure.stage = TransferFailure::Stage::kFinalStatus;
    failure.http_status = status;
    failure.error = status == HTTP_STATUS_PROXY_AUTH_REQ && proxy_auth_error_ != ERROR_SUCCESS
                        ? proxy_auth_error_
                        : error;
    if (!proxy_.empty()) {
      failure.answered_by_tunnel_request = IsTunnelRequestAnswer();
      failure.proxy_status_header = !GetResponseHeader("Proxy-Status").empty();
    }
    RecordFailure(failure);
    LOG(WARNING) << "Unsuccessful download: " << url_;
    if (http_status) *http_status = status;
    return false;
  }
  return true;
}

std::string Downloader::GetResponseHeader(const std::string& name) {
  if (!request_) return std::string();
  // HttpQueryInfoA takes the header's name in the buffer that receives its
  // value.
  std::string buffer = name + '\0';
  DWORD length = static_cast<DWORD>(buffer.size());
  if (HttpQueryInfoA(request_.get(), HTTP_QUERY_CUSTOM, buffer.data(), &length, nullptr)) {
    return buffer.substr(0, length);
  }
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::string();
  buffer.assign(std::max<size_t>(length, name.size() + 1), '\0');
  memcpy(buffer.data(), name.data(), name.size());
  length = static_cast<DWORD>(buffer.size());
  if (HttpQueryInfoA(request_.get(), HTTP_QUERY_CUSTOM, buffer.data(), &length, nullptr)) {
    return buffer.substr(0, std::min<size_t>(length, buffer.size()));
  }
  return std::string();
}

bool Downloader::RunTransfer(const std::u16string& url, DownloadSink* sink,
                             HANDLE cancel_event) {
  if (!OpenDownload(url, sink)) return false;
  while (ReadNext() != 0) {
    if (IsCancelSignaled(cancel_event)) {
      // What arrived so far is only part of the body.
      LOG(INFO) << "Download cancelled: " << url_;
      return false;
    }
  }
  return FinalizeDownload();
}

bool Downloader::DownloadToFile(const std::string& url, const FilePath& destination,
                                HANDLE cancel_event) {
  std::optional<FilePath> temp = CreateTemporaryFileInDir(GetUserTempDir(), u"dl");
  if (!temp) {
    PLOG(ERROR) << "Cannot create a temporary file for " << url;
    return false;
  }
  bool done = false;
  {
    ScopedHandle file(CreateFileW(AsWide(temp->value()), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.is_valid()) {
      FileSink sink(file.get());
      done = RunTransfer(WidenBytes(url), &sink, cancel_event);
    } else {
      PLOG(ERROR) << "Cannot open " << *temp;
    }
  }
  if (done) {
    done = MoveFileExW(AsWide(temp->value()), AsWide(destination.value()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE;
    if (!done) PLOG(ERROR) << "Cannot move the download to " << destination;
  }
  DeleteFileIfExists(*temp);
  return done;
}

bool Downloader::DownloadToString(const std::string& url, HANDLE cancel_event,
                                  std::string* body) {
  StringSink sink;
  if (!RunTransfer(WidenBytes(url), &sink, cancel_event)) return false;
  if (body) *body = sink.TakeString();
  return true;
}

}  // namespace lite
