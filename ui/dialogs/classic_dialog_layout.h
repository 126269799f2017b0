// Where the parts of a classic dialog go: a fixed picture with the buttons
// along its bottom, the message above them and the title above that. Texts
// longer than the picture has room for make the window taller instead of
// running into each other or the buttons.
#ifndef UI_DIALOGS_CLASSIC_DIALOG_LAYOUT_H_
#define UI_DIALOGS_CLASSIC_DIALOG_LAYOUT_H_

#include <optional>

#include "ui/dialogs/redesigned_dialog_layout.h"
#include "ui/layout/scale.h"

namespace lite {

struct ClassicDialogInput {
  double scale = 1.0;
  Extent background;  // the picture in screen pixels, shadow margins included
  Extent button1;     // one frame of each strip
  std::optional<Extent> button2;
  bool buttons_right_aligned = false;
  // The texts' heights in screen pixels, measured at ClassicTextWidth();
  // 0 for no text.
  int title_height = 0;
  int message_height = 0;
};

struct ClassicDialogLayout {
  Extent window;
  Rect title;
  Rect message;
  Rect button1;
  Rect button2;  // empty without a second button
  // The picture's shadow margins around the window.
  int shadow_left = 0, shadow_top = 0, shadow_right = 0, shadow_bottom = 0;
};

// How wide the title and the message are, in screen pixels.
int ClassicTextWidth(const ClassicDialogInput& input);

ClassicDialogLayout ComputeClassicDialogLayout(const ClassicDialogInput& input);

}  // namespace lite

#endif  // UI_DIALOGS_CLASSIC_DIALOG_LAYOUT_H_
