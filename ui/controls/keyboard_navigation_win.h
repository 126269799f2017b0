// The main window's keyboard navigation: the tab order of its controls and
// the arrow keys that move the focus between Install and the licence link.
#ifndef UI_CONTROLS_KEYBOARD_NAVIGATION_WIN_H_
#define UI_CONTROLS_KEYBOARD_NAVIGATION_WIN_H_

#include <windows.h>

#include <vector>

namespace lite {

// Puts the existing children of |parent| with these ids into this z-order,
// which is the dialog manager's tab order; missing ids are skipped.
void ApplyTabOrder(HWND parent, const std::vector<int>& ids);

// A keyboard hook on the calling thread, one per process: left/up on the
// Install button moves to the licence link, right/down on the link back.
class ArrowKeyHook {
 public:
  // False when a hook is already installed or it could not be set.
  static bool Install(HWND install_button, HWND licence_link);
  static void Remove();
  static bool installed();
};

}  // namespace lite

#endif  // UI_CONTROLS_KEYBOARD_NAVIGATION_WIN_H_
