// Fetches the documents of background_documents.h on one thread of its own
// while the installation runs, into file names reserved up front so that
// the setup command line can name them before they exist.
#ifndef NET_ASYNC_INSTALL_TASKS_WIN_H_
#define NET_ASYNC_INSTALL_TASKS_WIN_H_

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/file_path.h"
#include "base/thread_win.h"
#include "base/waitable_event_win.h"
#include "net/background_documents.h"

namespace lite {

class BrandInfo;
class DistribInfoParams;

class AsyncInstallTasks {
 public:
  // Reads everything it needs from |brand| and |params| now and reserves
  // the result names; the fetching waits for Start.
  AsyncInstallTasks(const BrandInfo& brand, const DistribInfoParams& params);
  AsyncInstallTasks(const AsyncInstallTasks&) = delete;
  AsyncInstallTasks& operator=(const AsyncInstallTasks&) = delete;
  // Stops and joins the thread, then deletes the seed, ABT and server
  // configuration files.
  ~AsyncInstallTasks();

  // Starts the thread when there is anything to fetch; once only. Kept
  // apart from construction so that the fetches do not compete with the
  // window for its first paint.
  void Start();

  const FilePath& variations_path() const { return PathOf(BackgroundDocument::kVariations); }
  const FilePath& abt_path() const { return PathOf(BackgroundDocument::kAbt); }
  const FilePath& webntp_path() const { return PathOf(BackgroundDocument::kWebNtp); }
  const FilePath& server_config_path() const { return PathOf(BackgroundDocument::kServerConfig); }
  const FilePath& wallpaper_path() const { return PathOf(BackgroundDocument::kWallpaper); }
  // (switch, path) for every reserved path, in the setup command line's order.
  std::vector<std::pair<std::string, FilePath>> ResultSwitches() const;

  // The tasks; each ends early when |stop_event| is set.
  static bool DownloadAndSaveVariations(const std::string& url, const FilePath& path,
                                        HANDLE stop_event);
  static bool DownloadServerConfigBundle(const std::string& brand_id,
                                         const std::string& partner_id, const FilePath& path,
                                         HANDLE stop_event);
  static bool DownloadWallpaperBundle(const std::string& base_url, const std::string& pwexp,
                                      const FilePath& path, HANDLE stop_event);
  static bool SaveVariations(const FilePath& path, const std::string& body,
                             const std::string& signature, const std::string& last_modified,
                             const std::string& country);

 private:
  using Task = std::function<void(HANDLE stop_event)>;

  bool InitializeThread();
  void RunTasks();
  const FilePath& PathOf(BackgroundDocument document) const {
    return paths_[static_cast<size_t>(document)];
  }

  // The reserved result files, one per document, in BackgroundDocument's
  // order; empty for a disabled document.
  std::array<FilePath, std::size(kBackgroundDocumentRules)> paths_;
  bool started_ = false;
  Thread thread_;
  WaitableEvent stop_event_{WaitableEvent::Reset::kManual};
  std::vector<Task> tasks_;
};

}  // namespace lite

#endif  // NET_ASYNC_INSTALL_TASKS_WIN_H_
