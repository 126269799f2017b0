#include "ui/dialogs/redesigned_dialog_layout.h"

#include <algorithm>

namespace lite {
namespace {

// Logical pixels.
constexpr int kMarginLeft = 30;
constexpr int kMarginTop = 30;
constexpr int kMarginRight = 50;   // beside the texts: room for the Close button
constexpr int kMarginBottom = 30;
constexpr int kMessageGap = 16;    // title to message
constexpr int kButtonsGap = 24;    // texts to buttons
constexpr int kButtonPaddingX = 16;
constexpr int kButtonPaddingY = 10;
constexpr int kButtonSpacing = 10;
constexpr int kButtonsRightMargin = 40;
constexpr int kCornerRadius = 16;
// Screen pixels: the Close button keeps its distance at every scale.
constexpr int kCloseInset = 10;

}  // namespace

RedesignedDialogLayout ComputeRedesignedDialogLayout(const RedesignedDialogInput& in) {
  auto s = [&](int value) { return Scale(in.scale, value); };
  RedesignedDialogLayout out;

  const int left = s(kMarginLeft);
  const int top = s(kMarginTop);
  out.title = {left, top, left + in.title.width, top + in.title.height};
  int texts_bottom = out.title.bottom;
  int texts_width = in.title.width;
  if (in.message) {
    const int message_top = out.title.bottom + s(kMessageGap);
    out.message = {left, message_top, left + in.message->width,
                   message_top + in.message->height};
    texts_bottom = out.message.bottom;
    texts_width = std::max(texts_width, in.message->width);
  }

  auto button_extent = [&](Extent text) {
    return Extent{text.width + 2 * s(kButtonPaddingX), text.height + 2 * s(kButtonPaddingY)};
  };
  const Extent button1 = button_extent(in.button1_text);
  const std::optional<Extent> button2 =
      in.button2_text ? std::optional<Extent>(button_extent(*in.button2_text)) : std::nullopt;
  int buttons_width = button1.width;
  if (button2) buttons_width += s(kButtonSpacing) + button2->width;

  out.window.width = left + std::max(s(kMarginRight) + texts_width,
                                     buttons_width + s(kButtonsRightMargin));
  const int buttons_top = texts_bottom + s(kButtonsGap);
  const int buttons_height = std::max(button1.height, button2 ? button2->height : 0);
  out.window.height = buttons_top + buttons_height + s(kMarginBottom);

  int right = out.window.width - s(kButtonsRightMargin);
  if (button2) {
    out.button2 = {right - button2->width, buttons_top, right, buttons_top + button2->height};
    right = out.button2.left - s(kButtonSpacing);
  }
  out.button1 = {right - button1.width, buttons_top, right, buttons_top + button1.height};

  out.close_button = {out.window.width - kCloseInset - in.close_button.width, kCloseInset,
                      out.window.width - kCloseInset, kCloseInset + in.close_button.height};
  out.corner_radius = s(kCornerRadius);
  return out;
}

}  // namespace lite
