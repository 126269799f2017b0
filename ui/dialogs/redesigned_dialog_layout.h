// Where the parts of a redesigned dialog go: the dialog is sized to its
// texts. Logical pixels are scaled by the factor; measured sizes are in
// screen pixels already.
#ifndef UI_DIALOGS_REDESIGNED_DIALOG_LAYOUT_H_
#define UI_DIALOGS_REDESIGNED_DIALOG_LAYOUT_H_

#include <optional>

#include "ui/layout/scale.h"

namespace lite {

struct Extent {
  int width = 0;
  int height = 0;
};

struct RedesignedDialogInput {
  double scale = 1.0;
  Extent title;                    // measured text
  std::optional<Extent> message;   // none when the dialog has no message
  Extent button1_text;
  std::optional<Extent> button2_text;
  Extent close_button;  // one frame of the Close strip
};

struct RedesignedDialogLayout {
  Extent window;
  Rect title;
  Rect message;  // empty without a message
  Rect button1;
  Rect button2;  // empty without a second button
  Rect close_button;
  int corner_radius = 0;  // of the rounded region, where it is used
};

RedesignedDialogLayout ComputeRedesignedDialogLayout(const RedesignedDialogInput& input);

}  // namespace lite

#endif  // UI_DIALOGS_REDESIGNED_DIALOG_LAYOUT_H_
