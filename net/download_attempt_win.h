// One download attempt with progress reports, as the setup archive's
// download makes it; how many attempts and at which URLs is the caller's.
#ifndef NET_DOWNLOAD_ATTEMPT_WIN_H_
#define NET_DOWNLOAD_ATTEMPT_WIN_H_

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/structured_exception_guard_win.h"
#include "net/download_observer.h"
#include "net/download_sink.h"

namespace lite {

class TransferStop;

// What an attempt leaves for its caller's report, success or not.
struct DownloadAttemptResult {
  std::string error_text;       // the downloader's stage-prefixed error
  std::u16string redirect_url;  // the last redirect target
  uint32_t total_size = 0;      // the body's size, 0 when unknown
  StructuredException exception;  // raised while opening the URL
  // The proxy wants credentials and the run has none left to offer (the
  // prompt was cancelled or its answer refused too, or there is no
  // prompt): another attempt would only be refused again.
  bool proxy_credentials_exhausted = false;
};

// Downloads |url| into |sink|, continuing after the bytes it already holds.
// |cancel_event| and |observer| may be null. True when the whole body
// arrived; a set cancel event fails the attempt at once.
bool DownloadAttempt(const std::u16string& url, DownloadSink* sink, HANDLE cancel_event,
                     DownloadObserver* observer, DownloadAttemptResult* result);
// The same, and a request of |stop| closes the transfer under way from the
// stopping thread, so that a stalled server holds nobody up. This is the
// setup archive's download: a proxy that wants credentials nobody has
// brings up the run's proxy prompt.
bool DownloadAttempt(const std::u16string& url, DownloadSink* sink, TransferStop& stop,
                     DownloadObserver* observer, DownloadAttemptResult* result);

}  // namespace lite

#endif  // NET_DOWNLOAD_ATTEMPT_WIN_H_
