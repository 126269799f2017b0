#include "installer/engine/installation_report_win.h"

#include "base/utf.h"
#include "logging/system_error_win.h"
#include "net/string_sink.h"
#include "stats/installation_events_win.h"

namespace lite {

void ReportInstallationFinished(const PlainDownload& download, const InstallationEvents& events,
                                bool success) {
  StringSink response;  // discarded
  std::string error;
  if (!download(WidenBytes(events.InstallReportUrl(success)), &response, &error)) {
    PLOG(ERROR) << "Cannot report installation status: " << error;
  }
}

}  // namespace lite
