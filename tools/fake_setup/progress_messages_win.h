// The registered messages through which a setup program tells the installer
// window how far it got, posted in the order a real setup run posts them.
#ifndef TOOLS_FAKE_SETUP_PROGRESS_MESSAGES_WIN_H_
#define TOOLS_FAKE_SETUP_PROGRESS_MESSAGES_WIN_H_

#include <windows.h>

namespace lite {

inline constexpr wchar_t kSetInstallProgressMessage[] = L"tolvar.lite.set_install_progress";
inline constexpr wchar_t kSetImportProgressMessage[] = L"tolvar.lite.set_import_progress";
inline constexpr wchar_t kCloseWindowMessage[] = L"tolvar.lite.close_window";

// Install stages 5 and 7; false when a post failed.
bool PostInstallProgress(HWND window);
// Import at 0, 50 and 100 %; false when a post failed.
bool PostImportProgress(HWND window);
// The close request: setup is done.
bool PostCloseWindow(HWND window);

}  // namespace lite

#endif  // TOOLS_FAKE_SETUP_PROGRESS_MESSAGES_WIN_H_
