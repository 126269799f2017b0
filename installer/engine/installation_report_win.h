// The final report of an installation run: one synchronous GET to the
// installation-report host, whose answer is not read.
#ifndef INSTALLER_ENGINE_INSTALLATION_REPORT_WIN_H_
#define INSTALLER_ENGINE_INSTALLATION_REPORT_WIN_H_

#include <functional>
#include <string>

namespace lite {

class DownloadSink;
class InstallationEvents;

// The engine's plain download: |url| into |sink|, honouring its stop event;
// the downloader's error text on failure.
using PlainDownload = std::function<bool(const std::u16string& url, DownloadSink* sink,
                                         std::string* error)>;

// Sends the report through |download|; a failure is logged and changes
// nothing else.
void ReportInstallationFinished(const PlainDownload& download, const InstallationEvents& events,
                                bool success);

}  // namespace lite

#endif  // INSTALLER_ENGINE_INSTALLATION_REPORT_WIN_H_
