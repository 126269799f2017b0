// The HTTP(S) download engine over WinINet: streams a response body into a
// sink, continues a transfer from the sink's size, remembers the last
// redirect target, and leaves a stage-prefixed error text after a failure.
#ifndef NET_DOWNLOADER_WIN_H_
#define NET_DOWNLOADER_WIN_H_

#include <windows.h>
#include <wininet.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "base/file_path.h"
#include "base/scoped_internet_handle_win.h"
#include "base/structured_exception_guard_win.h"
#include "net/download_sink.h"
#include "net/string_sink.h"
#include "net/transfer_failure_text.h"
#include "proxy/proxy_authentication_win.h"

namespace lite {

constexpr uint32_t kDownloadBufferSize = 32768;

// Whether |cancel_event| (may be null) is set.
bool IsCancelSignaled(HANDLE cancel_event);

class TransferStop;

class Downloader {
 public:
  // With |stop| (may be null) a stop request closes the transfer under way.
  // |prompt_use| says whether a proxy's 407 may bring up the run's prompt.
  explicit Downloader(TransferStop* stop = nullptr,
                      ProxyPromptUse prompt_use = ProxyPromptUse::kWaitForPrompt);
  Downloader(const Downloader&) = delete;
  Downloader& operator=(const Downloader&) = delete;
  virtual ~Downloader();

  // Whole transfers. |url| is ASCII; |cancel_event| may be null. A transfer
  // ended by its cancel event fails.
  virtual bool DownloadToFile(const std::string& url, const FilePath& destination,
                              HANDLE cancel_event);
  virtual bool DownloadToString(const std::string& url, HANDLE cancel_event,
                                std::string* body);

  // One transfer step by step: open, read until 0, finalize.
  virtual bool OpenDownload(const std::u16string& url, DownloadSink* sink);
  // Bytes received by one read; 0 at the end of the body or on failure.
  virtual uint32_t ReadNext();
  // True only when nothing failed and the response was the one asked for;
  // the HTTP status goes to |*http_status| when that check fails.
  virtual bool FinalizeDownload(uint32_t* http_status = nullptr);

  // A header of the current response; empty when absent or unreadable.
  std::string GetResponseHeader(const std::string& name);

  const std::u16string& url() const { return url_; }
  const std::string& last_error() const { return last_error_; }
  const StructuredException& exception() const { return exception_; }
  const std::u16string& redirect_url() const { return redirect_url_; }
  uint32_t total_size() const { return total_size_; }
  // "host:port" of the proxy the transfer goes through; empty when direct.
  const std::u16string& proxy() const { return proxy_; }
  // The proxy still wants credentials and the run has no others to offer.
  bool proxy_credentials_exhausted() const { return proxy_credentials_exhausted_; }

 private:
  // Opening, reading and finalizing into |sink|, watching |cancel_event|.
  bool RunTransfer(const std::u16string& url, DownloadSink* sink, HANDLE cancel_event);
  // The first failure of a transfer is kept; |stage| is e.g. "internet_read-".
  void RecordError(const std::string& stage, DWORD error);
  void RecordFailure(TransferFailure failure);
  // Whether the current answer is the proxy's to a tunnel request: an https
  // request through the proxy answered without a TLS connection.
  bool IsTunnelRequestAnswer();
  bool QueryNumber(DWORD query, DWORD* value);
  // Whether the answer to a continued request really continues at the
  // sink's size; sets the total size when it does.
  enum class Continuation { kAccepted, kRefused, kUnsuccessfulAnswer };
  Continuation AcceptContinuation(uint32_t offset);
  void CloseHandles();
  // Hands |handle| to the stop's care; false when the stop came first.
  bool WatchForStop(ScopedInternetHandle* handle);

  TransferStop* const stop_;
  const ProxyPromptUse prompt_use_;
  std::u16string url_;
  std::string last_error_;
  StructuredException exception_;
  std::u16string redirect_url_;
  uint32_t total_size_ = 0;
  DownloadSink* sink_ = nullptr;
  ScopedInternetHandle session_;
  std::u16string proxy_;
  // ERROR_CANCELLED when the user cancelled the proxy prompt.
  DWORD proxy_auth_error_ = ERROR_SUCCESS;
  bool proxy_credentials_exhausted_ = false;
  // The URL opened, after routing.
  std::u16string target_;
  ScopedInternetHandle request_;
  // 200, or 206 for a continued transfer.
  DWORD expected_status_ = HTTP_STATUS_OK;
  // The response's status as ReadNext first read it; 0 until then.
  DWORD read_status_ = 0;
  std::unique_ptr<std::array<char, kDownloadBufferSize>> buffer_;
};

}  // namespace lite

#endif  // NET_DOWNLOADER_WIN_H_
