#include "ui/dialogs/redesigned_dialog_win.h"

#include <algorithm>
#include <optional>

#include "ui/controls/control_ids.h"
#include "ui/controls/gdi_text_measurer_win.h"
#include "ui/images/shadow_win.h"
#include "ui/layout/installation_window_theme_win.h"
#include "ui/layout/window_shape_win.h"

namespace lite {
namespace {

constexpr int kBackgroundPicture = 2233;
constexpr ImagePair kAccentButton = {2234, 2235};
constexpr ImagePair kGreyButton = {2236, 2237};
constexpr ImagePair kCloseButton = {2238, 2239};
constexpr int kCloseNameId = 416;
// The rounded ends of the button pictures, in their 1x pixels.
constexpr int kButtonCapWidth = 10;
// "TS Text" Regular and Medium.
const std::vector<int> kFontResources = {2090, 2091};
constexpr FontSpec kTitleFont = {u"TS Text", 18, 500, false};
constexpr FontSpec kMessageFont = {u"TS Text", 13, 400, false};
constexpr FontSpec kButtonFont = {u"TS Text", 13, 400, false};
constexpr COLORREF kTitleColour = RGB(0, 0, 0);
constexpr COLORREF kMessageColour = 0x575757;
constexpr COLORREF kButtonTextColour = RGB(0, 0, 0);
// A text wider than this (logical pixels) wraps rather than stretch the
// dialog across the screen.
constexpr int kMaxTextWidth = 560;
constexpr UINT kStaticFormat = DT_NOPREFIX | DT_EXPANDTABS;

}  // namespace

RedesignedDialog::RedesignedDialog(const DialogContext& context, DialogKind kind)
    : InstallerDialog(context, GetDialogSpec(kind).action),
      kind_(kind),
      spec_(GetDialogSpec(kind)) {}

RedesignedDialog::~RedesignedDialog() = default;

Extent RedesignedDialog::MeasureText(const std::wstring& text, HFONT font) const {
  const GdiTextMeasurer measurer(font);
  SIZE size = measurer.Measure(text, kStaticFormat, 0);
  const int max_width = Scale(context().scale_factor, kMaxTextWidth);
  if (size.cx > max_width) size = measurer.Measure(text, kStaticFormat | DT_WORDBREAK, max_width);
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

void RedesignedDialog::OnInitDialog() {
  const HWND window = hwnd();
  const double scale = context().scale_factor;
  fonts_ = std::make_unique<FontResources>(context().module, kFontResources);
  title_font_ = CreateThemeFont(WithFaceFor(context().language_id, kTitleFont), scale);
  message_font_ = CreateThemeFont(WithFaceFor(context().language_id, kMessageFont), scale);
  button_font_ = CreateThemeFont(WithFaceFor(context().language_id, kButtonFont), scale);
  background_ = ResourceBitmap::LoadFrom(context().module, kBackgroundPicture, 0, scale);

  title_text_ = LoadText(spec_.title_id);
  message_text_ = LoadText(spec_.message_id);
  if (spec_.append_log_path) {
    message_text_ += L"\r\n";
    message_text_ += std::wstring(context().log_path.value().begin(),
                                  context().log_path.value().end());
  }
  const std::wstring button1_text = LoadText(spec_.button1_id);
  const std::wstring button2_text = LoadText(spec_.button2_id);

  const HWND title = GetDlgItem(window, kTitleId);
  const HWND message = MessageControl();
  const HWND button1 = GetDlgItem(window, kInstallButtonId);
  const HWND button2 = GetDlgItem(window, kCancelButtonId);
  const HWND close = GetDlgItem(window, kCloseButtonId);
  SetText(title, title_text_, title_font_.get());
  if (!message_text_.empty()) SetText(message, message_text_, message_font_.get());
  SetText(button1, button1_text, button_font_.get());
  if (spec_.button2_id != 0) SetText(button2, button2_text, button_font_.get());

  const ResourceBitmap close_strip =
      ResourceBitmap::LoadFrom(context().module, kCloseButton.id_1x, kCloseButton.id_2x, scale);
  RedesignedDialogInput input;
  input.scale = scale;
  input.title = MeasureText(title_text_, title_font_.get());
  if (!message_text_.empty()) input.message = MeasureText(message_text_, message_font_.get());
  const GdiTextMeasurer button_measurer(button_font_.get());
  auto button_text = [&](const std::wstring& text) {
    const SIZE size = button_measurer.Measure(text, DT_SINGLELINE, 0);
    return Extent{static_cast<int>(size.cx), static_cast<int>(size.cy)};
  };
  input.button1_text = button_text(button1_text);
  if (spec_.button2_id != 0) input.button2_text = button_text(button2_text);
  input.close_button = {close_strip.Width() / 3, close_strip.Height()};
  layout_ = ComputeRedesignedDialogLayout(input);

  ShapeWindow(window, layout_.window.width, layout_.window.height,
              IsWin8OrLater(context().windows) ? 16 : 0, scale);
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
  ShowWindow(button2, spec_.button2_id != 0 ? SW_SHOW : SW_HIDE);
  place(close, layout_.close_button);

  const SIZE area = {layout_.window.width, layout_.window.height};
  auto background_under = [&](HWND control) {
    BackgroundCopy copy;
    copy.picture = background_;
    copy.offset = OffsetInParent(control);
    copy.stretched_to = area;
    return copy;
  };
  const ImagePair button1_picture =
      spec_.button1_picture == ButtonPicture::kAccent ? kAccentButton : kGreyButton;
  button1_ = std::make_unique<StretchButton>(
      button1, ResourceBitmap::LoadFrom(context().module, button1_picture.id_1x,
                                        button1_picture.id_2x, scale),
      kButtonCapWidth, scale, kButtonTextColour, button_font_.get(), background_under(button1));
  button2_.reset();
  if (spec_.button2_id != 0) {
    button2_ = std::make_unique<StretchButton>(
        button2,
        ResourceBitmap::LoadFrom(context().module, kGreyButton.id_1x, kGreyButton.id_2x, scale),
        kButtonCapWidth, scale, kButtonTextColour, button_font_.get(), background_under(button2));
  }
  close_button_ = std::make_unique<PictureButton>(close, close_strip, kButtonTextColour,
                                                  button_font_.get(), background_under(close),
                                                  Padding());
  close_button_->accessible().set_name(LoadText(kCloseNameId));

  shadow_ = nullptr;
  BuildDialogShadow(&shadow_, window, LoadDialogShadowPictures(context().windows, scale),
                    context().windows, scale);
}

void RedesignedDialog::PaintBackground(HDC dc, const RECT& client) {
  background_.DrawAll(dc, client);
}

COLORREF RedesignedDialog::StaticTextColour(int control_id) const {
  return control_id == kTitleId ? kTitleColour : kMessageColour;
}

void RedesignedDialog::MoveShadow() {
  if (shadow_) lite::MoveShadow(shadow_, hwnd(), context().scale_factor);
}

}  // namespace lite
