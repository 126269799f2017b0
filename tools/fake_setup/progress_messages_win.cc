#include "tools/fake_setup/progress_messages_win.h"

#include <initializer_list>

namespace lite {

namespace {

bool Post(HWND window, const wchar_t* message_name, WPARAM value) {
  const UINT message = RegisterWindowMessageW(message_name);
  return message != 0 && PostMessageW(window, message, value, 0);
}

}  // namespace

bool PostInstallProgress(HWND window) {
  bool posted = true;
  for (WPARAM stage : {5, 7}) posted &= Post(window, kSetInstallProgressMessage, stage);
  return posted;
}

bool PostImportProgress(HWND window) {
  bool posted = true;
  for (WPARAM percent : {0, 50, 100}) posted &= Post(window, kSetImportProgressMessage, percent);
  return posted;
}

bool PostCloseWindow(HWND window) { return Post(window, kCloseWindowMessage, 0); }

}  // namespace lite
