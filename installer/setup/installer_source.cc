#include "installer/setup/installer_source.h"

namespace lite {
namespace {

struct InstallerSourceRow {
  InstallerSource source;
  const char* name;
};

constexpr InstallerSourceRow kInstallerSources[] = {
    {InstallerSource::kUnknown, "-1"},
    {InstallerSource::kLite, "lite"},
    {InstallerSource::kFull, "full"},
    {InstallerSource::kUpdater, "updater"},
    {InstallerSource::kService, "service"},
    {InstallerSource::kServiceAudit, "service_audit"},
    {InstallerSource::kBrowserDiagnostics, "browser_diagnostics"},
};

}  // namespace

const char* InstallerSourceName(InstallerSource source) {
  for (const InstallerSourceRow& row : kInstallerSources) {
    if (row.source == source) return row.name;
  }
  return "";
}

}  // namespace lite
