#include "ui/dialogs/classic_dialog_layout.h"

#include <algorithm>

namespace lite {
namespace {

// Logical pixels. The background picture carries a soft shadow on every
// side; the window covers only its middle.
constexpr int kShadowLeft = 7;
constexpr int kShadowTop = 4;
constexpr int kShadowRight = 6;
constexpr int kShadowBottom = 8;
constexpr int kButtonsBottomMargin = 20;
constexpr int kTextLeft = 40;
constexpr int kTextRightMargin = 30;
constexpr int kTitleTop = 30;
constexpr int kMessageHeight = 50;
// The least room between the title's last line and the message, and
// between the message's last line and the buttons.
constexpr int kTitleGap = 8;
constexpr int kButtonsGap = 14;
constexpr int kButtonsLeft = 40;
constexpr int kButtonSpacing = 10;
constexpr int kRightAlignedMargin = 30;
// Screen pixels between right-aligned buttons.
constexpr int kRightAlignedSpacing = 10;

}  // namespace

int ClassicTextWidth(const ClassicDialogInput& in) {
  const int window_width =
      in.background.width - Scale(in.scale, kShadowLeft) - Scale(in.scale, kShadowRight);
  return window_width - Scale(in.scale, kTextRightMargin) - Scale(in.scale, kTextLeft);
}

ClassicDialogLayout ComputeClassicDialogLayout(const ClassicDialogInput& in) {
  auto s = [&](int value) { return Scale(in.scale, value); };
  ClassicDialogLayout out;
  out.shadow_left = s(kShadowLeft);
  out.shadow_top = s(kShadowTop);
  out.shadow_right = s(kShadowRight);
  out.shadow_bottom = s(kShadowBottom);
  out.window = {in.background.width - out.shadow_left - out.shadow_right,
                in.background.height - out.shadow_top - out.shadow_bottom};

  // The picture's places, moved down only as far as the texts need.
  const int buttons_height = std::max(in.button1.height, in.button2 ? in.button2->height : 0);
  const int picture_buttons_top = out.window.height - s(kButtonsBottomMargin) - buttons_height;
  const int message_top = std::max(picture_buttons_top - s(kMessageHeight),
                                   s(kTitleTop) + in.title_height + s(kTitleGap));
  const int buttons_top =
      std::max(picture_buttons_top, message_top + in.message_height + s(kButtonsGap));
  out.window.height += buttons_top - picture_buttons_top;

  int x = s(kButtonsLeft);
  int spacing = s(kButtonSpacing);
  if (in.buttons_right_aligned) {
    spacing = kRightAlignedSpacing;
    const int widths = in.button1.width + (in.button2 ? in.button2->width : 0);
    x = out.window.width - widths - s(kRightAlignedMargin) - (in.button2 ? spacing : 0);
  }
  out.button1 = {x, buttons_top, x + in.button1.width, buttons_top + in.button1.height};
  if (in.button2) {
    const int left = out.button1.right + spacing;
    out.button2 = {left, buttons_top, left + in.button2->width, buttons_top + in.button2->height};
  }

  const int text_right = out.window.width - s(kTextRightMargin);
  out.message = {s(kTextLeft), message_top, text_right, buttons_top};
  out.title = {s(kTextLeft), s(kTitleTop), text_right, out.message.top};
  return out;
}

}  // namespace lite
