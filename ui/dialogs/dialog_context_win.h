// What every dialog needs to know about the run it belongs to.
#ifndef UI_DIALOGS_DIALOG_CONTEXT_WIN_H_
#define UI_DIALOGS_DIALOG_CONTEXT_WIN_H_

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/file_path.h"
#include "ui/layout/window_design.h"

namespace lite {

class DialogActions;

struct DialogContext {
  // Holds the strings, pictures, fonts and templates.
  HMODULE module = GetModuleHandleW(nullptr);
  uint16_t language_id = 1033;
  double scale_factor = 1.0;
  WindowsRelease windows = WindowsRelease::kWin10;
  DialogActions* actions = nullptr;  // not owned; none: an action is logged and skipped
  // Where the first button leads.
  std::string landing_url;
  std::string browser_site_url;
  std::string feedback_url;
  // Shown under the message of the failure dialog that asks for the log.
  FilePath log_path;
};

}  // namespace lite

#endif  // UI_DIALOGS_DIALOG_CONTEXT_WIN_H_
