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

namespace lite {

constexpr uint32_t kDownloadBufferSize = 32768;

// Whether |cancel_event| (may be null) is set.
bool IsCancelSignaled(HANDLE cancel_event);

class TransferStop;

class Downloader {
 public:
  // With |stop| (may be null) a stop request closes the transfer under way.
  explicit Downloader(TransferStop* stop = nullptr);
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

 private:
  // Opening, reading and finalizing into |sink|, watching |cancel_event|.
  bool RunTransfer(const std::u16string& url, DownloadSink* sink, HANDLE cancel_event);
  // The first failure of a transfer is kept; |stage| is e.g. "internet_read-".
  void RecordError(const std::string& stage, DWORD error);
  bool QueryNumber(DWORD query, DWORD* value);
  // Whether the answer to a continued request really continues at the
  // sink's size; sets the total size when it does.
  enum class Continuation { kAccepted, kRefused, kUnsuccessfulAnswer };
  Continuation AcceptContinuation(uint32_t offset);
  void CloseHandles();
  // Hands |handle| to the stop's care; false when the stop came first.
  bool WatchForStop(ScopedInternetHandle* handle);

  TransferStop* const stop_;
  std::u16string url_;
  std::string last_error_;
  StructuredException exception_;
  std::u16string redirect_url_;
  uint32_t total_size_ = 0;
  DownloadSink* sink_ = nullptr;
  ScopedInternetHandle session_;
  ScopedInternetHandle request_;
  // 200, or 206 for a continued transfer.
  DWORD expected_status_ = HTTP_STATUS_OK;
  // The response's status as ReadNext first read it; 0 until then.
  DWORD read_status_ = 0;
  std::unique_ptr<std::array<char, kDownloadBufferSize>> buffer_;
};

}  // namespace lite

#endif  // NET_DOWNLOADER_WIN_H_
