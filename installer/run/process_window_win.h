#ifndef INSTALLER_RUN_PROCESS_WINDOW_WIN_H_
#define INSTALLER_RUN_PROCESS_WINDOW_WIN_H_

#include <windows.h>

#include <cstdint>

namespace lite {

// Brings the main window of |process_id| to the foreground: its first shown
// top-level window that has no owner, else its first top-level window.
// Whether it came to the front is not reported.
void BringProcessWindowToTop(uint32_t process_id);

// Lets |message| from more privileged processes (an elevated setup program)
// through the UI privilege isolation filter of |window|.
bool AllowMessageThroughFilter(HWND window, UINT message);

}  // namespace lite

#endif  // INSTALLER_RUN_PROCESS_WINDOW_WIN_H_
