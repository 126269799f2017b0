#include "ui/dialogs/classic_dialog_win.h"

#include <algorithm>

#include "ui/controls/control_ids.h"
#include "ui/controls/gdi_text_measurer_win.h"
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

int TextHeight(const std::wstring& text, HFONT font, int width) {
  if (text.empty()) return 0;
  return GdiTextMeasurer(font).Measure(text, DT_WORDBREAK | DT_NOPREFIX, width).cy;
}

// The picture's panel (inside its shadow margins) at the window's size. A
// window made taller for its texts shows the panel's top above and its
// bottom below, overlapping in the middle: it keeps the picture's top
// stripe, edges and bottom. The pieces are copied pixel for pixel from the
// picture drawn whole, so that no scaled edge shows as a seam.
ResourceBitmap FitPanel(const ResourceBitmap& picture, const ClassicDialogLayout& layout) {
  if (picture.empty()) return picture;
  const int width = layout.window.width;
  const int height = layout.window.height;
  const int left = layout.shadow_left;
  const int top = layout.shadow_top;
  const int bottom = picture.CeilHeight() - layout.shadow_bottom;
  const int upper_height = std::min(height, bottom - top);
  const int lower_height = std::min(height - height / 2, bottom - top);
  const HDC screen = GetDC(nullptr);
  ScopedBitmap whole(CreateCompatibleBitmap(screen, picture.CeilWidth(), picture.CeilHeight()));
  ScopedBitmap panel(CreateCompatibleBitmap(screen, width, height));
  ScopedMemoryDc whole_dc(CreateCompatibleDC(screen));
  ScopedMemoryDc panel_dc(CreateCompatibleDC(screen));
  ReleaseDC(nullptr, screen);
  if (!whole || !panel || !whole_dc || !panel_dc) return picture;
  {
    ScopedSelectObject select_whole(whole_dc.get(), whole.get());
    ScopedSelectObject select_panel(panel_dc.get(), panel.get());
    picture.DrawAll(whole_dc.get(), {0, 0, picture.CeilWidth(), picture.CeilHeight()});
    BitBlt(panel_dc.get(), 0, 0, width, upper_height, whole_dc.get(), left, top, SRCCOPY);
    if (upper_height < height) {
      BitBlt(panel_dc.get(), 0, height - lower_height, width, lower_height, whole_dc.get(), left,
             bottom - lower_height, SRCCOPY);
    }
  }
  return ResourceBitmap::FromHBITMAP(panel.get());
}

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
  const int text_width = ClassicTextWidth(input);
  input.title_height = TextHeight(title_text_, title_font_.get(), text_width);
  input.message_height = TextHeight(message_text_, message_font_.get(), text_width);
  layout_ = ComputeClassicDialogLayout(input);
  panel_ = FitPanel(background_, layout_);

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
    copy.picture = panel_;
    copy.offset = OffsetInParent(control);
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
  panel_.Draw(dc, client, {0, 0, client.right - client.left, client.bottom - client.top});
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
