// Obtaining the setup archive: which URLs to try, how many attempts each
// URL gets, when partial content is kept for the next attempt, and what is
// reported about every attempt. The transfer itself is the downloader's; the
// steps that touch Windows (creating the file, the installer's own creation
// time, the pause between attempts) are virtual so that the engine supplies
// them and tests replace them.
#ifndef INSTALLER_ENGINE_MODULE_ACQUISITION_H_
#define INSTALLER_ENGINE_MODULE_ACQUISITION_H_

#include <cstdint>
#include <string>
#include <vector>

#include "net/download_sink.h"

namespace lite {

class InstallerCommandLine;

// The brand's setup URLs that module acquisition chooses from.
struct BrandSetupUrls {
  std::string setup_url;          // never empty once defaults are applied
  std::string setup_url_version;  // versioned; only used while the installer is new
  std::string setup_url64;        // 64-bit systems
};

// 0 = default, 1 = 64-bit.
enum ArchitectureClass : int { kArchitectureDefault = 0, kArchitecture64 = 1 };

// What one download attempt handed back.
struct DownloadAttemptOutcome {
  bool success = false;
  std::string error;           // the downloader's stage-prefixed error text
  std::u16string redirect_url;  // the last redirect target, empty without one
  uint32_t total_size = 0;
  uint32_t exception_code = 0;  // non-zero: opening the URL raised an exception
  std::string failed_module;
  std::string failed_function;
};

// One attempt as statistics see it.
struct DownloadAttemptReport {
  bool success = false;
  std::string url;
  int attempt_number = 0;  // 1-based
  uint32_t downloaded_size = 0;
  uint32_t total_size = 0;
  std::string error;
  std::u16string redirect_url;
  int architecture_class = kArchitectureDefault;
};

// Where module acquisition reports to (the installation events).
class ModuleDownloadReporter {
 public:
  virtual ~ModuleDownloadReporter() = default;
  virtual void OnDownloadStarted() = 0;
  // A failed attempt also reports its download error right after.
  virtual void OnDownloadAttempt(const DownloadAttemptReport& report) = 0;
};

// Download result codes.
enum DownloadResult : int {
  kDownloadSucceeded = 0,
  kDownloadFileNotCreated = 1,
  kDownloadFailed = 2,           // no URL, attempts used up, stopped, exception
  kDownloadCryptoProFailed = 3,  // the outdated CryptoPro revocation provider
};

inline constexpr int64_t kVersionedUrlMaxAgeMicros = 2'592'000'000'000;  // 30 days
inline constexpr uint32_t kRetryDelayMs = 15000;

class ModuleAcquisition {
 public:
  ModuleAcquisition(BrandSetupUrls urls, ModuleDownloadReporter* reporter);
  virtual ~ModuleAcquisition() = default;

  // The attempt loop over |sink| (the open archive file); a result code.
  virtual int DownloadModule(DownloadSink* sink, const InstallerCommandLine& command_line);

  // Candidate URLs, each with "?from_installer=true".
  std::vector<std::string> GetDownloadUrls(int architecture_class);
  std::vector<std::string> GetDownloadUrlsFromBrandConfig(int architecture_class);
  bool IsVersionedSetupUrlAllowed(const std::string& url);

  // "download-x64", else "download-x32", else the native architecture.
  int GetArchitectureClass(const InstallerCommandLine& command_line);

 protected:
  // Microseconds since 1601-01-01 UTC of the installer's own file.
  virtual bool GetOwnCreationTime(int64_t* time) = 0;
  // The same time base as GetOwnCreationTime.
  virtual int64_t NowSince1601Micros() = 0;
  virtual bool IsXpOrVista() = 0;
  virtual bool IsNative64Bit() = 0;
  virtual bool IsStopRequested() = 0;
  // One attempt at |url| into |sink|.
  virtual DownloadAttemptOutcome RunDownloadAttempt(const std::u16string& url,
                                                    DownloadSink* sink) = 0;
  virtual uint32_t RetryDelay() { return kRetryDelayMs; }
  // Waits up to |ms| for a stop request; true when one came.
  virtual bool WaitForStop(uint32_t ms) = 0;

 private:
  BrandSetupUrls urls_;
  ModuleDownloadReporter* reporter_;
};

// The exception of an outdated CryptoPro revocation provider: a failed
// delay load of cplib.dll for a function with "cryptopro" in its name.
bool IsCryptoProException(uint32_t code, const std::string& module, const std::string& function);

}  // namespace lite

#endif  // INSTALLER_ENGINE_MODULE_ACQUISITION_H_
