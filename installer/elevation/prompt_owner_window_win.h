// The window that owns the UAC prompt of the elevated restart.
#ifndef INSTALLER_ELEVATION_PROMPT_OWNER_WINDOW_WIN_H_
#define INSTALLER_ELEVATION_PROMPT_OWNER_WINDOW_WIN_H_

#include "base/scoped_window_win.h"

namespace lite {

// A zero-size, visible, topmost tool window in the middle of the nearest
// monitor: the prompt it owns appears centred and in front. Invalid when the
// window cannot be created.
ScopedWindow CreatePromptOwnerWindow();

}  // namespace lite

#endif  // INSTALLER_ELEVATION_PROMPT_OWNER_WINDOW_WIN_H_
