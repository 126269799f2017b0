#include "ui/dialogs/shell_dialog_actions_win.h"

#include <windows.h>
#include <shellapi.h>

#include "base/process_win.h"
#include "logging/log_message.h"
#include "logging/system_error_win.h"

namespace lite {

ShellDialogActions::ShellDialogActions(FilePath browser_dir)
    : browser_dir_(std::move(browser_dir)) {}

void ShellDialogActions::OpenUrl(const std::string& url) {
  LOG(INFO) << "Opening " << url;
  const HINSTANCE result = ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOW);
  // Values up to 32 are errors.
  if (reinterpret_cast<INT_PTR>(result) <= 32) PLOG(ERROR) << "ShellExecute failed for " << url;
}

void ShellDialogActions::StartInstalledBrowser() {
  if (browser_dir_.empty()) {
    LOG(WARNING) << "The browser's installation directory is not known; the browser is not "
                    "started.";
    return;
  }
  const FilePath browser = browser_dir_.Append(u"browser.exe");
  const Process process = LaunchProcess(u"\"" + browser.value() + u"\"");
  if (!process.is_valid()) PLOG(ERROR) << "Cannot start " << browser;
}

}  // namespace lite
