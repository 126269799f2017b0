// Setup's registered window messages as the installation window takes them.
// Any process on the desktop can post a registered message, and
// "tolvar.lite.close_window" ends the run as if setup had finished: the
// window acts on them only once setup has been started, and opens its
// privilege filter to them only when it runs elevated, the one case in which
// the filter would otherwise keep a sender of lower integrity out.
#ifndef UI_MAIN_WINDOW_SETUP_MESSAGES_WIN_H_
#define UI_MAIN_WINDOW_SETUP_MESSAGES_WIN_H_

#include <windows.h>

#include <optional>
#include <vector>

#include "installer/run/process_window_win.h"

namespace lite {

// In the order of their names in setup_messages_win.cc.
enum class SetupMessage {
  kSetInstallProgress, kSetImportProgress, kCloseWindow,
  kHigherVersion, kCorporateHigherVersion, kCorporateBrowserExists,
};

class SetupMessages {
 public:
  using FilterChange = bool (*)(HWND window, UINT message);

  // Registers the messages. |window_elevated|: whether the window's process
  // runs elevated; |change| opens the filter for one message.
  explicit SetupMessages(bool window_elevated, FilterChange change = &AllowMessageThroughFilter);

  // In an elevated window, lets setup's messages and |own_message| through
  // the privilege filter of |window|; otherwise changes nothing and logs so.
  void OpenFilter(HWND window, UINT own_message) const;

  // Which of setup's messages |message| is; nothing for any other.
  std::optional<SetupMessage> Find(UINT message) const;

  // Whether the window acts on |message|: only once setup has been started.
  // One that comes earlier is logged with its name and ignored.
  bool Admit(SetupMessage message, bool setup_started) const;

 private:
  const bool window_elevated_;
  const FilterChange change_;
  const std::vector<UINT> ids_;
};

}  // namespace lite

#endif  // UI_MAIN_WINDOW_SETUP_MESSAGES_WIN_H_
