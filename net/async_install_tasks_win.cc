#include "net/async_install_tasks_win.h"

#include "base/debug_log.h"
#include "base/endpoints.h"
#include "base/file_util_win.h"
#include "distribution/brand_info.h"
#include "distribution/distrib_info_params.h"
#include "logging/log_message.h"
#include "logging/system_error_win.h"
#include "net/background_documents.h"
#include "net/downloader_win.h"

namespace lite {
namespace {

std::optional<std::string> ParamOf(const DistribInfoParams& params, const char* key) {
  std::string value;
  if (!params.GetParam(key, &value)) return std::nullopt;
  return value;
}

// A fresh name in the temporary directory, left free for the task's file.
FilePath ReserveTemporaryName() {
  std::optional<FilePath> path = CreateTemporaryFileInDir(GetUserTempDir(), u"bt");
  if (!path) return FilePath();
  DeleteFileIfExists(*path);
  return *path;
}

}  // namespace

AsyncInstallTasks::AsyncInstallTasks(const BrandInfo& brand, const DistribInfoParams& params) {
  for (const BackgroundDocumentRule& rule : kBackgroundDocumentRules) {
    if (IsBackgroundDocumentEnabled(rule, ParamOf(params, rule.param_key))) {
      paths_[static_cast<size_t>(rule.document)] = ReserveTemporaryName();
    }
  }

  if (!variations_path().empty()) {
    tasks_.push_back([url = brand.GetVariationsUrl(), path = variations_path()](HANDLE stop) {
      DownloadAndSaveVariations(url, path, stop);
    });
  }
  if (!abt_path().empty()) {
    tasks_.push_back([url = brand.GetAbtUrl(), path = abt_path()](HANDLE stop) {
      DownloadAndSaveVariations(url, path, stop);
    });
  }
  if (!server_config_path().empty()) {
    tasks_.push_back([brand_id = brand.brand_id(), partner_id = brand.partner_id(),
                      path = server_config_path()](HANDLE stop) {
      DownloadServerConfigBundle(brand_id, partner_id, path, stop);
    });
  }
  if (!wallpaper_path().empty() && !brand.preloaded_wallpapers_url().empty()) {
    tasks_.push_back([base_url = brand.preloaded_wallpapers_url(),
                      pwexp = ParamOf(params, "pwexp").value_or(std::string()),
                      path = wallpaper_path()](HANDLE stop) {
      DownloadWallpaperBundle(base_url, pwexp, path, stop);
    });
  }
}

void AsyncInstallTasks::Start() {
  if (started_) return;
  started_ = true;
  if (!tasks_.empty()) InitializeThread();
}

AsyncInstallTasks::~AsyncInstallTasks() {
  stop_event_.Signal();
  thread_.Join();
  // Setup has taken what it needed by now; the new-tab page and wallpaper
  // files are the browser's to keep.
  for (const FilePath* path : {&variations_path(), &abt_path(), &server_config_path()}) {
    if (!path->empty()) DeleteFileIfExists(*path);
  }
  tasks_.clear();
}

bool AsyncInstallTasks::InitializeThread() {
  if (!thread_.Start([this] { RunTasks(); })) {
    PLOG(ERROR) << "Failed to create thread for async install tasks";
    return false;
  }
  return true;
}

void AsyncInstallTasks::RunTasks() {
  for (const Task& task : tasks_) {
    if (IsCancelSignaled(stop_event_.handle())) return;
    task(stop_event_.handle());
  }
}

std::vector<std::pair<std::string, FilePath>> AsyncInstallTasks::ResultSwitches() const {
  std::vector<std::pair<std::string, FilePath>> switches;
  for (const BackgroundDocumentRule& rule : kBackgroundDocumentRules) {
    const FilePath& path = PathOf(rule.document);
    if (!path.empty()) switches.emplace_back(rule.result_switch, path);
  }
  return switches;
}

bool AsyncInstallTasks::DownloadAndSaveVariations(const std::string& url, const FilePath& path,
                                                  HANDLE stop_event) {
  Downloader downloader;
  std::string body;
  if (!downloader.DownloadToString(url, stop_event, &body)) {
    PLOG(ERROR) << "Failed to download variations seed: " << downloader.last_error();
    return false;
  }
  const std::string signature = downloader.GetResponseHeader("X-Seed-Signature");
  if (signature.empty()) {
    PLOG(ERROR) << "Failed to get variations seed signature";
    return false;
  }
  const std::string last_modified = downloader.GetResponseHeader("Last-Modified");
  const std::string country = downloader.GetResponseHeader("X-Country");
  if (!SaveVariations(path, body, signature, last_modified, country)) {
    PLOG(ERROR) << "Failed to save variations in " << path;
    return false;
  }
  LOG(INFO) << "Variations are saved in " << path;
  return true;
}

bool AsyncInstallTasks::SaveVariations(const FilePath& path, const std::string& body,
                                       const std::string& signature,
                                       const std::string& last_modified,
                                       const std::string& country) {
  const bool written =
      WriteWholeFile(path, VariationsJson(body, signature, last_modified, country));
  if (!written) PLOG(ERROR) << "Failed to save downloaded variations update to " << path;
  return written;
}

bool AsyncInstallTasks::DownloadServerConfigBundle(const std::string& brand_id,
                                                   const std::string& partner_id,
                                                   const FilePath& path, HANDLE stop_event) {
  Downloader downloader;
  const std::string url = ServerConfigBundleUrl(endpoints::kBrowserApi, brand_id, partner_id);
  if (downloader.DownloadToFile(url, path, stop_event)) return true;
  WriteDebugLog(DLOGSEV_ERROR, "async_install_tasks.cc", __LINE__,
                "Failed to download server config bundle: " + downloader.last_error());
  return false;
}

bool AsyncInstallTasks::DownloadWallpaperBundle(const std::string& base_url,
                                                const std::string& pwexp, const FilePath& path,
                                                HANDLE stop_event) {
  Downloader downloader;
  if (downloader.DownloadToFile(base_url + pwexp, path, stop_event)) return true;
  WriteDebugLog(DLOGSEV_ERROR, "async_install_tasks.cc", __LINE__,
                "Failed to download wallpaper bundle: " + downloader.last_error());
  return false;
}

}  // namespace lite
