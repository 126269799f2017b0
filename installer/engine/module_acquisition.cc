#include "installer/engine/module_acquisition.h"

#include <limits>

#include "base/delay_load_codes.h"
#include "base/endpoints.h"
#include "base/utf.h"
#include "installer/command_line/installer_command_line.h"
#include "installer/command_line/switches.h"
#include "logging/log_message.h"

namespace lite {

namespace {

constexpr char kFromInstallerQuery[] = "?from_installer=true";
constexpr char kXpBuildPath[] = "/browser-partners/_xp_builds/browser-setup.arc";

// a - b without overflow: a creation time in the future is simply recent.
int64_t SaturatingSubtract(int64_t a, int64_t b) {
  if (b < 0 && a > std::numeric_limits<int64_t>::max() + b) {
    return std::numeric_limits<int64_t>::max();
  }
  if (b > 0 && a < std::numeric_limits<int64_t>::min() + b) {
    return std::numeric_limits<int64_t>::min();
  }
  return a - b;
}

}  // namespace

bool IsCryptoProException(uint32_t code, const std::string& module, const std::string& function) {
  return code == kDelayLoadModuleNotFound && ToLowerASCII(module) == "cplib.dll" &&
         ToLowerASCII(function).find("cryptopro") != std::string::npos;
}

ModuleAcquisition::ModuleAcquisition(BrandSetupUrls urls, AcquisitionSystem system,
                                     AcquisitionEnvironment* environment,
                                     ModuleDownloadReporter* reporter)
    : urls_(std::move(urls)), system_(system), environment_(environment), reporter_(reporter) {}

int ModuleAcquisition::GetArchitectureClass(const InstallerCommandLine& command_line) {
  if (command_line.HasSwitch(switches::kDownloadX64)) return kArchitecture64;
  if (command_line.HasSwitch(switches::kDownloadX32)) return kArchitectureDefault;
  return system_.native_64bit ? kArchitecture64 : kArchitectureDefault;
}

bool ModuleAcquisition::IsVersionedSetupUrlAllowed(const std::string& url) {
  if (url.empty()) return false;
  if (url.find('{') != std::string::npos) {
    LOG(ERROR) << "Wrong setup url:" << url;
    return false;
  }
  const std::optional<int64_t> created = environment_->OwnCreationTime();
  if (!created || *created == 0) return false;
  return SaturatingSubtract(environment_->NowSince1601Micros(), *created) <
         kVersionedUrlMaxAgeMicros;
}

std::vector<std::string> ModuleAcquisition::GetDownloadUrlsFromBrandConfig(int architecture_class) {
  std::vector<std::string> urls;
  if (architecture_class == kArchitecture64) {
    if (urls_.setup_url64.empty()) {
      LOG(WARNING) << "Setup url x64 empty!";
    } else {
      urls.push_back(urls_.setup_url64);
    }
  }
  if (IsVersionedSetupUrlAllowed(urls_.setup_url_version)) urls.push_back(urls_.setup_url_version);
  urls.push_back(urls_.setup_url);
  return urls;
}

std::vector<std::string> ModuleAcquisition::GetDownloadUrls(int architecture_class) {
  std::vector<std::string> urls;
  if (system_.xp_or_vista) {
    urls.push_back(std::string(endpoints::kDownloadCdn) + kXpBuildPath);
  } else {
    urls = GetDownloadUrlsFromBrandConfig(architecture_class);
  }
  for (std::string& url : urls) url += kFromInstallerQuery;
  return urls;
}

DownloadResult ModuleAcquisition::DownloadModule(DownloadSink* sink, const InstallerCommandLine& command_line) {
  const int architecture_class = GetArchitectureClass(command_line);
  const std::vector<std::string> urls = GetDownloadUrls(architecture_class);
  if (urls.empty()) {
    LOG(ERROR) << "Setup url is empty.";
    return DownloadResult::kFailed;
  }
  LOG(INFO) << "Selected download urls:";
  for (const std::string& url : urls) LOG(INFO) << url;
  if (reporter_) reporter_->OnDownloadStarted();

  const size_t attempt_count = urls.size() == 1 ? 6 : 3 * urls.size();
  const size_t attempts_per_url = attempt_count / urls.size();
  const std::string* previous_url = nullptr;
  for (size_t i = 0; i < attempt_count && !environment_->IsStopRequested(); ++i) {
    const std::string& url = urls[i / attempts_per_url];
    // Attempts at one URL continue where the last one stopped; a new URL
    // starts from an empty file.
    if (previous_url != &url) sink->Reset();
    previous_url = &url;

    const DownloadAttemptOutcome outcome = environment_->RunAttempt(WidenBytes(url), sink);
    DownloadAttemptReport report{outcome.success, url, static_cast<int>(i + 1),
                                 sink->bytes_written(), outcome.total_size, outcome.error,
                                 outcome.redirect_url, architecture_class};
    if (outcome.success) {
      if (reporter_) reporter_->OnDownloadAttempt(report);
      return DownloadResult::kSucceeded;
    }
    if (outcome.exception_code != 0) {
      std::string text = "Exception with code=" + std::to_string(outcome.exception_code);
      if (!outcome.failed_module.empty()) text += "dll_name=" + outcome.failed_module;
      if (!outcome.failed_function.empty()) text += "proc_name=" + outcome.failed_function;
      LOG(ERROR) << text;
      return IsCryptoProException(outcome.exception_code, outcome.failed_module,
                                  outcome.failed_function)
                 ? DownloadResult::kCryptoProFailed
                 : DownloadResult::kFailed;
    }
    // Less than a tenth is not worth continuing. The report keeps the bytes
    // this attempt got, which is what the statistics are about.
    if (sink->bytes_written() < static_cast<uint32_t>(uint64_t{outcome.total_size} * 10 / 100)) {
      sink->Reset();
    }
    if (reporter_) reporter_->OnDownloadAttempt(report);
    // No later attempt can offer the proxy other credentials (its prompt
    // was cancelled or answered wrong, or a silent run has none): they would
    // be refused alike, 15 s apart, with the user waiting for the dialog.
    if (outcome.proxy_credentials_exhausted) {
      LOG(ERROR) << "No more download attempts: the proxy wants credentials this run cannot "
                 << "give (" << (i + 1) << " of " << attempt_count << " made)";
      return DownloadResult::kFailed;
    }
    if (i + 1 < attempt_count) environment_->Pause(kRetryDelayMs);
  }
  LOG(ERROR) << "Max download attempts failed (" << attempt_count << ")";
  return DownloadResult::kFailed;
}

}  // namespace lite
