// Obtaining the setup archive: which URLs to try, how many attempts each
// URL gets, when partial content is kept for the next attempt, and what is
// reported about every attempt. The attempts, the pauses and the clock are
// the environment's (acquisition_environment.h).
#ifndef INSTALLER_ENGINE_MODULE_ACQUISITION_H_
#define INSTALLER_ENGINE_MODULE_ACQUISITION_H_

#include <cstdint>
#include <string>
#include <vector>

#include "installer/engine/acquisition_environment.h"
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

// What the policy needs to know about the system it runs on.
struct AcquisitionSystem {
  bool xp_or_vista = false;  // Windows 5.1 or 6.0: the legacy build only
  bool native_64bit = false;
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

// How obtaining the archive ended.
enum class DownloadResult : int {
  kSucceeded = 0,
  kFileNotCreated = 1,
  kFailed = 2,           // no URL, attempts used up, stopped, exception
  kCryptoProFailed = 3,  // the outdated CryptoPro revocation provider
};

inline constexpr int64_t kVersionedUrlMaxAgeMicros = 2'592'000'000'000;  // 30 days
inline constexpr uint32_t kRetryDelayMs = 15000;

class ModuleAcquisition {
 public:
  // |environment| must outlive the policy; |reporter| may be null.
  ModuleAcquisition(BrandSetupUrls urls, AcquisitionSystem system,
                    AcquisitionEnvironment* environment, ModuleDownloadReporter* reporter);

  // The attempt loop over |sink| (the open archive file).
  DownloadResult DownloadModule(DownloadSink* sink, const InstallerCommandLine& command_line);

  // Candidate URLs, each with "?from_installer=true".
  std::vector<std::string> GetDownloadUrls(int architecture_class);
  std::vector<std::string> GetDownloadUrlsFromBrandConfig(int architecture_class);
  bool IsVersionedSetupUrlAllowed(const std::string& url);

  // "download-x64", else "download-x32", else the native architecture.
  int GetArchitectureClass(const InstallerCommandLine& command_line);

 private:
  BrandSetupUrls urls_;
  AcquisitionSystem system_;
  AcquisitionEnvironment* environment_;
  ModuleDownloadReporter* reporter_;
};

// The exception of an outdated CryptoPro revocation provider: a failed
// delay load of cplib.dll for a function with "cryptopro" in its name.
bool IsCryptoProException(uint32_t code, const std::string& module, const std::string& function);

}  // namespace lite

#endif  // INSTALLER_ENGINE_MODULE_ACQUISITION_H_
