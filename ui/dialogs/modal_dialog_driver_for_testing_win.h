// Runs a dialog modally and hands its window to a test once it is up, from
// the dialog's own message loop. The test looks at it and may end it (by a
// click, say), which it reports by returning true; a dialog it leaves open
// is ended with -2.
#ifndef UI_DIALOGS_MODAL_DIALOG_DRIVER_FOR_TESTING_WIN_H_
#define UI_DIALOGS_MODAL_DIALOG_DRIVER_FOR_TESTING_WIN_H_

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "ui/dialog_window_win.h"

namespace lite {

inline std::function<bool(HWND)>& PendingInspection() {
  static std::function<bool(HWND)> inspection;
  return inspection;
}

inline DialogWindow*& InspectedDialog() {
  static DialogWindow* dialog = nullptr;
  return dialog;
}

inline void CALLBACK InspectDialogTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND window = InspectedDialog() ? InspectedDialog()->hwnd() : nullptr;
  if (!window || !IsWindowVisible(window)) return;  // not up yet: next tick
  KillTimer(nullptr, timer);
  std::function<bool(HWND)> inspection = std::move(PendingInspection());
  PendingInspection() = nullptr;
  if (!inspection(window)) EndDialog(window, -2);
}

inline INT_PTR RunDialogAndInspect(DialogWindow& dialog, std::function<bool(HWND)> inspection) {
  PendingInspection() = std::move(inspection);
  InspectedDialog() = &dialog;
  SetTimer(nullptr, 0, 20, &InspectDialogTimer);
  const INT_PTR result = dialog.RunModal(nullptr);
  InspectedDialog() = nullptr;
  return result;
}

inline std::wstring ControlText(HWND control) {
  std::wstring text(GetWindowTextLengthW(control) + 1, L'\0');
  text.resize(GetWindowTextW(control, text.data(), static_cast<int>(text.size())));
  return text;
}

// A click as the user makes it: press and release on the button.
inline void ClickButton(HWND dialog, int id) {
  SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

}  // namespace lite

#endif  // UI_DIALOGS_MODAL_DIALOG_DRIVER_FOR_TESTING_WIN_H_
