// Base of every installer window: a dialog from a template (or an existing
// child control) whose messages reach ProcessWindowMessage, run modally, and
// dragged by its free surface when it has no caption.
#ifndef UI_DIALOG_WINDOW_WIN_H_
#define UI_DIALOG_WINDOW_WIN_H_

#include <windows.h>

namespace lite {

class DialogWindow {
 public:
  // |module| holds the dialog template.
  explicit DialogWindow(HINSTANCE module = GetModuleHandleW(nullptr));
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;
  virtual ~DialogWindow();

  // DialogBoxParamW on GetDialogTemplateId(); |owner| null means the active
  // window. The value given to EndDialog, or -1 when the dialog could not be
  // made.
  INT_PTR RunModal(HWND owner);

  // Routes the messages of an existing window (a child control) through
  // ProcessWindowMessage; false when |window| is not a window or this object
  // already has one.
  bool Subclass(HWND window);
  // Forgets the window: its old procedure is put back when it still exists,
  // and the object can be run or attached again.
  void Detach();

  HWND hwnd() const { return hwnd_; }

 protected:
  // True when the message was handled, with its result in |*result|;
  // otherwise the window's previous procedure gets it. The dialog's own
  // WM_INITDIALOG and the "tolvar.lite.move_window" message of a drag arrive
  // here too.
  virtual bool ProcessWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                    LRESULT* result) = 0;
  virtual int GetDialogTemplateId() const;

  // The registered "tolvar.lite.move_window" message.
  UINT move_window_message() const { return move_window_message_; }
  HINSTANCE module() const { return module_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wparam,
                                       LPARAM lparam);
  // Enters this object under |window| and puts SubclassProc in place.
  bool Attach(HWND window);
  // The drag-move of a window without caption; true when |message| was one
  // of its mouse messages.
  bool HandleDrag(UINT message, WPARAM wparam, LPARAM lparam);

  HINSTANCE module_;
  HWND hwnd_ = nullptr;
  WNDPROC old_proc_ = nullptr;
  bool dragging_ = false;
  POINT last_cursor_ = {0, 0};
  UINT move_window_message_;
};

}  // namespace lite

#endif  // UI_DIALOG_WINDOW_WIN_H_
