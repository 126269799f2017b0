// What module acquisition needs from the world around it: one download
// attempt, the pause between attempts, whether a stop was asked for, and
// the clock that tells how old the running installer is. The engine hands
// the policy its Windows environment; tests hand it a fake.
#ifndef INSTALLER_ENGINE_ACQUISITION_ENVIRONMENT_H_
#define INSTALLER_ENGINE_ACQUISITION_ENVIRONMENT_H_

#include <cstdint>
#include <optional>
#include <string>

#include "net/download_sink.h"

namespace lite {

// What one download attempt handed back.
struct DownloadAttemptOutcome {
  bool success = false;
  std::string error;           // the downloader's stage-prefixed error text
  std::u16string redirect_url;  // the last redirect target, empty without one
  uint32_t total_size = 0;
  uint32_t exception_code = 0;  // non-zero: opening the URL raised an exception
  std::string failed_module;
  std::string failed_function;
  // The proxy wants credentials and the run has none left to offer: another
  // attempt would be refused the same way.
  bool proxy_credentials_exhausted = false;
};

class AcquisitionEnvironment {
 public:
  virtual ~AcquisitionEnvironment() = default;
  // One attempt at |url| into |sink|, continuing after the bytes it holds.
  virtual DownloadAttemptOutcome RunAttempt(const std::u16string& url, DownloadSink* sink) = 0;
  // Waits |ms| unless a stop comes first; true when one came.
  virtual bool Pause(uint32_t ms) = 0;
  virtual bool IsStopRequested() = 0;
  // Microseconds since 1601-01-01 UTC.
  virtual int64_t NowSince1601Micros() = 0;
  // When the running installer was made, on the same time base; nothing
  // when that cannot be told.
  virtual std::optional<int64_t> OwnCreationTime() = 0;
};

}  // namespace lite

#endif  // INSTALLER_ENGINE_ACQUISITION_ENVIRONMENT_H_
