// The main window's keyboard navigation: the tab order of its welcome
// screen and the arrow keys that move between Install and the licence link.
#ifndef UI_CONTROLS_FOCUS_ORDER_H_
#define UI_CONTROLS_FOCUS_ORDER_H_

#include <array>

namespace lite {

// Control ids in tab order: Install, licence link, privacy link, the check
// boxes (statistics first in the less contrasty look), Close.
std::array<int, 7> WelcomeTabOrder(bool less_contrasty);

enum class ArrowDirection { kBackward, kForward };  // left/up, right/down

// The keyboard hook sees each key press twice (down and up); the focus
// moves on every second call per direction so that it moves once a press.
class ArrowFocusToggle {
 public:
  // Whether this call moves the focus.
  bool OnArrow(ArrowDirection direction);

 private:
  bool backward_pending_ = false;
  bool forward_pending_ = false;
};

}  // namespace lite

#endif  // UI_CONTROLS_FOCUS_ORDER_H_
