#include "ui/dialogs/shell_dialog_actions_win.h"

#include <windows.h>
#include <shellapi.h>

#include "base/process_win.h"
#include "installer/run/installed_browser_win.h"
#include "logging/log_message.h"
#include "logging/system_error_win.h"

namespace lite {

ShellDialogActions::ShellDialogActions(DirectoryQuery application_dir, UrlOpenPolicy policy)
    : application_dir_(std::move(application_dir)), policy_(std::move(policy)) {}

ShellDialogActions::ShellDialogActions(UrlOpenPolicy policy)
    : ShellDialogActions(&GetBrowserApplicationDir, std::move(policy)) {}

ShellDialogActions::ShellDialogActions() : ShellDialogActions(&GetBrowserApplicationDir) {}

void ShellDialogActions::OpenUrl(const std::string& url) {
  if (!policy_.Allows(url)) {
    // The address is not written out: what it carries is not to be trusted
    // in a log line either.
    LOG(ERROR) << "Refused to open an address that is not https on one of the product's hosts ("
               << url.size() << " bytes)";
    return;
  }
  LOG(INFO) << "Opening " << url;
  // The policy admits ASCII only, so widening byte by byte is exact.
  const std::wstring wide(url.begin(), url.end());
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOW);
  // Values up to 32 are errors.
  if (reinterpret_cast<INT_PTR>(result) <= 32) PLOG(ERROR) << "ShellExecute failed for " << url;
}

void ShellDialogActions::StartInstalledBrowser() {
  const FilePath browser_dir = application_dir_();
  if (browser_dir.empty()) {
    LOG(WARNING) << "The browser's installation directory is not known; the browser is not "
                    "started.";
    return;
  }
  const FilePath browser = browser_dir.Append(u"browser.exe");
  LOG(INFO) << "Starting the installed browser: " << browser;
  LaunchOptions options;
  options.current_directory = browser_dir.value();
  const Process process = LaunchProcess(u"\"" + browser.value() + u"\"", options);
  if (!process.is_valid()) {
    PLOG(ERROR) << "Cannot start " << browser;
    return;
  }
  LOG(INFO) << "The installed browser runs as process " << process.id();
}

}  // namespace lite
