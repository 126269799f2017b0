// Who started the browser's setup program, as its "source" switch tells it.
#ifndef INSTALLER_SETUP_INSTALLER_SOURCE_H_
#define INSTALLER_SETUP_INSTALLER_SOURCE_H_

namespace lite {

enum class InstallerSource : int {
  kUnknown = -1,
  kLite = 0,
  kFull = 1,
  kUpdater = 2,
  kService = 3,
  kServiceAudit = 4,
  kBrowserDiagnostics = 5,
};

// The switch value: "lite" for kLite, "-1" for kUnknown; empty for a value
// outside the enumeration.
const char* InstallerSourceName(InstallerSource source);

}  // namespace lite

#endif  // INSTALLER_SETUP_INSTALLER_SOURCE_H_
