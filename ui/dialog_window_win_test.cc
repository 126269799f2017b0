#include "ui/dialog_window_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace lite {
namespace {

constexpr UINT kScript = WM_APP + 1;

// Template 100 dialog that, once up, drags itself by 20 x 15 pixels and ends
// with the result it was given.
class DraggedDialog : public DialogWindow {
 public:
  explicit DraggedDialog(INT_PTR result) : result_(result) {}

  RECT before = {};
  RECT after = {};
  int move_messages = 0;
  bool got_init = false;

 protected:
  bool ProcessWindowMessage(HWND window, UINT message, WPARAM, LPARAM,
                            LRESULT* result) override {
    if (message == WM_INITDIALOG) {
      got_init = true;
      SetWindowPos(window, nullptr, 100, 100, 200, 120, SWP_NOZORDER);
      PostMessageW(window, kScript, 0, 0);
      return true;
    }
    if (message == move_window_message()) {
      ++move_messages;
      return true;
    }
    if (message == kScript) {
      GetWindowRect(window, &before);
      SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
      SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 25));
      SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(30, 25));
      // No longer dragging: this move changes nothing.
      SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
      GetWindowRect(window, &after);
      EndDialog(window, result_);
      *result = 0;
      return true;
    }
    return false;
  }

 private:
  INT_PTR result_;
};

TEST(DialogWindowTest, RunsModallyDragsAndRunsAgain) {
  for (INT_PTR expected : {7, 212}) {
    DraggedDialog dialog(expected);
    EXPECT_EQ(dialog.RunModal(nullptr), expected);
    EXPECT_TRUE(dialog.got_init);
    EXPECT_EQ(dialog.after.left - dialog.before.left, 20);
    EXPECT_EQ(dialog.after.top - dialog.before.top, 15);
    EXPECT_EQ(dialog.after.right - dialog.after.left, dialog.before.right - dialog.before.left);
    EXPECT_EQ(dialog.move_messages, 1);
    // The ended window is forgotten, so the object runs again.
    EXPECT_EQ(dialog.hwnd(), nullptr);
    dialog.move_messages = 0;
    EXPECT_EQ(dialog.RunModal(nullptr), expected);
    EXPECT_EQ(dialog.move_messages, 1);
  }
}

// A wrapper of an existing control answering one message of its own.
class Answering : public DialogWindow {
 protected:
  bool ProcessWindowMessage(HWND, UINT message, WPARAM, LPARAM, LRESULT* result) override {
    if (message != WM_APP + 7) return false;
    *result = 42;
    return true;
  }
};

TEST(DialogWindowTest, SubclassRoutesAndDetachRestores) {
  HWND control = CreateWindowExW(0, L"STATIC", L"text", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
  ASSERT_TRUE(control);
  const LONG_PTR original = GetWindowLongPtrW(control, GWLP_WNDPROC);
  {
    Answering wrapper;
    ASSERT_TRUE(wrapper.Subclass(control));
    EXPECT_FALSE(wrapper.Subclass(control));  // one window per object
    EXPECT_EQ(SendMessageW(control, WM_APP + 7, 0, 0), 42);
    wchar_t text[16] = {};
    // Messages it does not handle reach the control's own procedure.
    EXPECT_EQ(SendMessageW(control, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text)), 4);
    wrapper.Detach();
    EXPECT_EQ(GetWindowLongPtrW(control, GWLP_WNDPROC), original);
    EXPECT_EQ(SendMessageW(control, WM_APP + 7, 0, 0), 0);
    ASSERT_TRUE(wrapper.Subclass(control));
  }
  // The destructor puts the old procedure back too.
  EXPECT_EQ(GetWindowLongPtrW(control, GWLP_WNDPROC), original);
  DestroyWindow(control);
}

}  // namespace
}  // namespace lite
