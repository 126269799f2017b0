#include "ui/dialogs/classic_dialog_win.h"

#include "ui/controls/control_ids.h"
#include "ui/images/shadow_win.h"
#include "ui/layout/installation_window_theme_win.h"
#include "ui/layout/window_shape_win.h"

namespace lite {
namespace {

constexpr int kBackgroundPicture = 104;
constexpr int kButton1Picture = 105;
constexpr int kButton2Picture = 106;
constexpr FontSpec kTitleFont = {u"Arial", 16, 400, false};
constexpr FontSpec kMessageFont = {u"Arial", 13, 400, false};
constexpr FontSpec kButtonFont = {u"Arial", 14, 400, false};
constexpr COLORREF kTextColour = 0x464646;
// The picture's shadow around the window, logical pixels.
constexpr RECT kShadowMargins = {7, 4, 6, 8};

}  // namespace

ClassicDialog::ClassicDialog(const DialogContext& context, ClassicDialogVariant variant)
    : InstallerDialog(context, DialogAction::kNone),
      variant_(variant),
      spec_(GetClassicDialogSpec(variant)) {}

ClassicDialog::~ClassicDialog() = default;

void ClassicDialog::OnInitDialog() {
  const HWND window = hwnd();
  const double scale = context().scale_factor;
  title_font_ = CreateThemeFont(kTitleFont, scale);
  message_font_ = CreateThemeFont(kMessageFont, scale);
  button_font_ = CreateThemeFont(kButtonFont, scale);
  background_ = ResourceBitmap::LoadFrom(context().module, kBackgroundPicture, 0, scale);
  const ResourceBitmap strip1 = ResourceBitmap::LoadFrom(context().module, kButton1Picture, 0, scale);
  const ResourceBitmap strip2 = ResourceBitmap::LoadFrom(context().module, kButton2Picture, 0, scale);

  title_text_ = LoadText(spec_.title_id);
  message_text_ = LoadText(spec_.message_id);
  const HWND title = GetDlgItem(window, kTitleId);
  const HWND message = MessageControl();
  const HWND button1 = GetDlgItem(window, kInstallButtonId);
  const HWND button2 = GetDlgItem(window, kCancelButtonId);
  SetText(title, title_text_, title_font_.get());
  SetText(message, message_text_, message_font_.get());
  SetText(button1, LoadText(spec_.button1_id), button_font_.get());
  const bool two_buttons = spec_.button2_id != 0;
  if (two_buttons) SetText(button2, LoadText(spec_.button2_id), button_font_.get());
  // The classic dialogs are closed by their buttons only.
  ShowWindow(GetDlgItem(window, kCloseButtonId), SW_HIDE);

  ClassicDialogInput input;
  input.scale = scale;
  input.background = {background_.Width(), background_.Height()};
  input.button1 = {strip1.Width() / 3, strip1.Height()};
  if (two_buttons) input.button2 = Extent{strip2.Width() / 3, strip2.Height()};
  input.buttons_right_aligned = spec_.buttons_right_aligned;
  layout_ = ComputeClassicDialogLayout(input);

  SetWindowPos(window, nullptr, 0, 0, layout_.window.width, layout_.window.height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CenterWindow(window);
  auto place = [](HWND control, const Rect& rect) {
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.width(), rect.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(title, layout_.title);
  place(message, layout_.message);
  ShowWindow(message, message_text_.empty() ? SW_HIDE : SW_SHOW);
  place(button1, layout_.button1);
  place(button2, layout_.button2);
  ShowWindow(button2, two_buttons ? SW_SHOW : SW_HIDE);

  auto background_under = [&](HWND control) {
    BackgroundCopy copy;
    copy.picture = background_;
    copy.offset = OffsetInParent(control);
    copy.margins = {layout_.shadow_left, layout_.shadow_top, layout_.shadow_right,
                    layout_.shadow_bottom};
    return copy;
  };
  button1_ = std::make_unique<PictureButton>(button1, strip1, kTextColour, button_font_.get(),
                                             background_under(button1), Padding());
  button2_.reset();
  if (two_buttons) {
    button2_ = std::make_unique<PictureButton>(button2, strip2, kTextColour, button_font_.get(),
                                               background_under(button2), Padding());
  }
  close_button_.reset();

  shadow_ = nullptr;
  BuildClassicShadow(&shadow_, window, background_, kShadowMargins, scale);
}

void ClassicDialog::PaintBackground(HDC dc, const RECT& client) {
  const RECT src = {layout_.shadow_left, layout_.shadow_top,
                    layout_.shadow_left + (client.right - client.left),
                    layout_.shadow_top + (client.bottom - client.top)};
  background_.Draw(dc, client, src);
}

COLORREF ClassicDialog::StaticTextColour(int) const { return kTextColour; }

void ClassicDialog::MoveShadow() {
  if (!shadow_) return;
  RECT frame;
  GetWindowRect(hwnd(), &frame);
  SetWindowPos(shadow_, nullptr, frame.left - layout_.shadow_left, frame.top - layout_.shadow_top,
               0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lite
