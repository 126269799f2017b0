#ifndef INSTALLER_RUN_PROCESS_WINDOW_WIN_H_
#define INSTALLER_RUN_PROCESS_WINDOW_WIN_H_

#include <windows.h>

#include <cstdint>

namespace lite {

// Brings the first top-level window of |process_id| to the foreground.
// Whether it came to the front is not reported.
void BringProcessWindowToTop(uint32_t process_id);

// Lets |message| from more privileged processes (an elevated setup program)
// through the UI privilege isolation filter of |window|.
bool AllowMessageThroughFilter(HWND window, UINT message);

}  // namespace lite

#endif  // INSTALLER_RUN_PROCESS_WINDOW_WIN_H_
