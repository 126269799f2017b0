#include "ui/main_window/lite_main_window_win.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <utility>

#include "distribution/brand_info.h"
#include "distribution/distrib_info_params.h"
#include "logging/log_message.h"
#include "ui/controls/control_ids.h"
#include "ui/controls/focus_order.h"
#include "ui/controls/gdi_text_measurer_win.h"
#include "ui/controls/inline_link_label.h"
#include "ui/controls/keyboard_navigation_win.h"
#include "ui/controls/memory_canvas_win.h"
#include "ui/controls/text_with_opacity_win.h"
#include "ui/images/progress_background_win.h"
#include "ui/images/slide_rotation.h"
#include "ui/images/slide_source_win.h"
#include "ui/layout/window_shape_win.h"
#include "ui/main_window/install_progress.h"
#include "ui/main_window/welcome_choices.h"

namespace lite {
namespace {

constexpr UINT kSlideTimerMs = 20;
constexpr int kIconGroupId = 900;
constexpr int kCaptionTextId = 400;
constexpr int kInstallTextId = 415;
constexpr int kCloseNameId = 416;
constexpr int kCollapseNameId = 417;
constexpr int kStatisticsTextId = 427;
constexpr int kPinTextId = 429;
constexpr int kPrivacyTextId = 431;
constexpr int kLicenceTextId = 462;
constexpr int kShortLicenceTextId = 463;
constexpr int kSkippedTitleTextId = 411;
// The Origin check boxes keep this room (logical pixels) around their
// picture and label; the privacy link lines up with it.
constexpr int kOriginCheckBoxPadding = 4;
// Below the statistics box, the make-default box of the less contrasty look.
constexpr int kLessContrastyBoxGap = 4;

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// Stops a shown |window| from redrawing while this lives; then lets it redraw
// again and invalidates it with its children.
class ScopedRedrawOff {
 public:
  explicit ScopedRedrawOff(HWND window)
      : window_(IsWindowVisible(window) ? window : nullptr) {
    if (window_) SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  }
  ~ScopedRedrawOff() {
    if (!window_) return;
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  ScopedRedrawOff(const ScopedRedrawOff&) = delete;
  ScopedRedrawOff& operator=(const ScopedRedrawOff&) = delete;

 private:
  const HWND window_;
};

void DestroyAll(HWND parent, int id) {
  while (const HWND control = GetDlgItem(parent, id)) DestroyWindow(control);
}

std::u16string WithoutParentheses(std::u16string text) {
  text.erase(std::remove_if(text.begin(), text.end(),
                            [](char16_t c) { return c == u'(' || c == u')'; }),
             text.end());
  return text;
}

bool HasParamValue(const DistribInfoParams& params, const char* key, const char* value) {
  std::string found;
  return params.GetParam(key, &found) && found == value;
}

}  // namespace

LiteMainWindow::LiteMainWindow(const MainWindowInputs& inputs) : MainWindow(inputs) {
  layout_ = CreateLayout(
      brand(), WelcomeCheckBoxMask(params().params(), make_default_possible(), pin_state()),
      windows());
  theme_ = CreateTheme(brand(), layout_);
  welcome_pictures_ = std::make_unique<WelcomePictureLoader>(theme_->spec(), scale_factor());
  StartEngine();
}

LiteMainWindow::~LiteMainWindow() {
  // The engine stops before the objects it might still reach through the
  // window go.
  StopEngine();
  if (hook_installed_) ArrowKeyHook::Remove();
}

BackgroundCopy LiteMainWindow::CopyUnder(HWND control, const ResourceBitmap& picture) const {
  BackgroundCopy copy;
  copy.picture = picture;
  copy.offset = OffsetInParent(control);
  return copy;
}

const ResourceBitmap& LiteMainWindow::CurrentBackground() const {
  if (progress_mode() && progress_.slideshow) return progress_.slideshow->CurrentPicture();
  return background_;
}

// --- Creation ------------------------------------------------------------

void LiteMainWindow::CreateControls(bool skip_first_screen) {
  const ThemeSpec& spec = theme_->spec();
  const double scale = scale_factor();
  SetWindowTextW(hwnd(), Wide(LoadText(kCaptionTextId)));
  const WelcomePictures pictures = welcome_pictures_->Take();
  welcome_pictures_.reset();
  background_ = pictures.background;
  logo_ = pictures.logo;
  minimize_glyph_ = pictures.minimize_glyph;
  SetIcons();

  fonts_ = ThemeFonts::Create(spec, scale);

  // The window takes its background's size; the layout's when it is missing.
  const int width = background_.empty() ? Scale(scale, layout_->WindowWidth()) : background_.Width();
  const int height =
      background_.empty() ? Scale(scale, layout_->WindowHeight()) : background_.Height();
  ShapeWindow(hwnd(), width, height, layout_->CornerRadius(), scale);
  CenterWindow(hwnd());

  CreateLicenceText();
  CreateButtons(pictures);
  CreateCheckBoxes(pictures.check_box_strip);
  title_text_ = LoadText(spec.title_string_id);
  SetWindowTextW(Item(kTitleId), Wide(title_text_));
  if (!skip_first_screen) PlaceWelcomeScreen();
}

void LiteMainWindow::SetIcons() {
  big_icon_.reset(static_cast<HICON>(
      LoadImageW(module(), MAKEINTRESOURCEW(kIconGroupId), IMAGE_ICON,
                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  small_icon_.reset(static_cast<HICON>(
      LoadImageW(module(), MAKEINTRESOURCEW(kIconGroupId), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.get()));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
}

void LiteMainWindow::CreateLicenceText() {
  const ThemeSpec& spec = theme_->spec();
  const std::u16string text =
      LicenceTextForWindow(LoadText(spec.short_license_text ? kShortLicenceTextId : kLicenceTextId),
                           design() != WindowDesign::kOrigin);
  const Rect r = Scaled(layout_->LicenseRect());
  MultiPartTextStyle style;
  style.font = fonts_.body.get();
  style.link_font = fonts_.link.get();
  style.centre_lines = design() == WindowDesign::kNewIdentity;
  style.line_spacing = spec.line_spacing;
  style.plain_id = kLicencePlainId;
  style.link_id = kLicenceLinkId;
  welcome_.licence = MultiPartText::Create(hwnd(), {r.left, r.top, r.right, r.bottom}, ToWide(text), style,
                                   ToWide(WithoutParentheses(LoadText(kLicenceTextId))));
}

void LiteMainWindow::CreateButtons(const WelcomePictures& pictures) {
  const ThemeSpec& spec = theme_->spec();
  SetWindowTextW(Item(kInstallButtonId), Wide(LoadText(kInstallTextId)));
  welcome_.install_button = std::make_unique<PictureButton>(
      Item(kInstallButtonId), pictures.install_button_strip,
      spec.install_button_text_colour, fonts_.install_button.get(), BackgroundCopy(), Padding());
  welcome_.install_button->accessible().set_name(ToWide(LoadText(kInstallTextId)));
  close_strip_ = pictures.close_strip;
  cancel_strip_ = pictures.cancel_strip;
  close_button_ = std::make_unique<PictureButton>(Item(kCloseButtonId), close_strip_, 0, nullptr,
                                                  BackgroundCopy(), Padding());
  close_button_->accessible().set_name(ToWide(LoadText(kCloseNameId)));
  cancel_button_ = std::make_unique<PictureButton>(Item(kCancelButtonId), cancel_strip_, 0,
                                                   nullptr, BackgroundCopy(), Padding());
  if (layout_->HasMinimizeButton()) {
    minimize_button_ = std::make_unique<PictureButton>(
        Item(kMinimizeButtonId), pictures.minimize_strip, 0, nullptr,
        BackgroundCopy(), Padding());
    minimize_button_->accessible().set_name(ToWide(LoadText(kCollapseNameId)));
  } else {
    DestroyAll(hwnd(), kMinimizeButtonId);
  }
}

void LiteMainWindow::CreateCheckBoxes(const ResourceBitmap& strip) {
  const ThemeSpec& spec = theme_->spec();
  const double scale = scale_factor();
  const uint32_t mask = layout_->check_box_mask();
  const bool owner_drawn = !IsAppThemed();
  CheckBoxStyle style;
  const int padding =
      design() == WindowDesign::kOrigin ? Scale(scale, kOriginCheckBoxPadding) : 0;
  style.padding = {padding, padding, padding, padding};
  style.text_colour = spec.license_colour;
  style.alpha = spec.license_opacity;
  style.font = fonts_.check_box.get();
  style.label_gap = Scale(scale, layout_->CheckBoxLabelGap());

  if (mask & kMakeDefaultBoxShown) {
    SetWindowTextW(Item(kDefaultCheckBoxId), Wide(LoadText(spec.make_default_string_id)));
    welcome_.check_boxes[kDefaultCheckBoxId] = std::make_unique<CheckBox>(
        Item(kDefaultCheckBoxId), strip, style, BackgroundCopy(),
        brand().ShouldMakeBrowserDefault(), owner_drawn);
  } else {
    DestroyAll(hwnd(), kDefaultCheckBoxId);
  }
  if (mask & kStatisticsBoxShown) {
    const HWND window = Item(kStatisticsCheckBoxId);
    const bool checked = brand().ShouldSendStatistics();
    const std::u16string privacy = LoadText(kPrivacyTextId);
    if (design() == WindowDesign::kOrigin) {
      SetWindowTextW(window, Wide(LoadText(kStatisticsTextId)));
      welcome_.check_boxes[kStatisticsCheckBoxId] =
          std::make_unique<CheckBox>(window, strip, style, BackgroundCopy(), checked, owner_drawn);
    } else {
      std::u16string label = LoadText(kStatisticsTextId);
      if (label.empty() || label.back() != u'.') label += u'.';
      welcome_.statistics_label = ToWide(label + u" ((" + privacy + u"))");
      auto box = std::make_unique<CheckBoxWithLink>(window, strip, style, BackgroundCopy(),
                                                    checked, owner_drawn);
      welcome_.linked_statistics_box = box.get();
      welcome_.check_boxes[kStatisticsCheckBoxId] = std::move(box);
    }
    SetWindowTextW(Item(kPrivacyLinkId), Wide(privacy));
    welcome_.privacy_link = std::make_unique<LinkLabel>(
        Item(kPrivacyLinkId), spec.license_colour, spec.license_opacity,
        fonts_.privacy_link.get(), BackgroundCopy());
  } else {
    DestroyAll(hwnd(), kStatisticsCheckBoxId);
    DestroyAll(hwnd(), kPrivacyLinkId);
  }
  if (mask & kPinBoxShown) {
    SetWindowTextW(Item(kPinCheckBoxId), Wide(LoadText(kPinTextId)));
    welcome_.check_boxes[kPinCheckBoxId] = std::make_unique<CheckBox>(
        Item(kPinCheckBoxId), strip, style, BackgroundCopy(), pin_state() == 2, owner_drawn);
  } else {
    DestroyAll(hwnd(), kPinCheckBoxId);
  }
}

// --- Placement -----------------------------------------------------------

void LiteMainWindow::PlaceButton(PictureButton* button, Point origin) {
  if (!button || !button->hwnd()) return;
  const Point at = ScalePoint(scale_factor(), origin);
  const SIZE size = button->GetSize();
  SetWindowPos(button->hwnd(), nullptr, at.x, at.y, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  button->set_background(CopyUnder(button->hwnd(), CurrentBackground()));
}

POINT LiteMainWindow::LinkMargins() const {
  // Room for the focus rectangle beside the link only: above and below it
  // would cover the label's neighbouring lines, which the link's own
  // background copy would then erase.
  return {Scale(scale_factor(), layout_->InlineLinkMargin().x), 0};
}

RECT LiteMainWindow::PlaceCheckBox(CheckBox* box, const Rect& rect) {
  const Rect r = Scaled(rect);
  const HWND window = box->hwnd();
  SetWindowPos(window, nullptr, r.left, r.top, r.width(), r.height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  CheckBoxWithLink* const linked = welcome_.linked_statistics_box;
  if (box == linked) {
    linked->SetLabel(welcome_.statistics_label, {r.left, r.top, r.right, r.bottom},
                                     theme_->spec().line_spacing, LinkMargins(),
                                     Item(kPrivacyLinkId), false);
  }
  const int height = box->MeasureHeight(r.width());
  SetWindowPos(window, nullptr, 0, 0, r.width(), height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_SHOWWINDOW);
  box->set_background(CopyUnder(window, background_));
  if (box == linked) {
    // The privacy link lies on the box's label, above it in the tab order
    // (z-order): the box must not paint over it.
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) | WS_CLIPSIBLINGS);
    if (welcome_.privacy_link) welcome_.privacy_link->set_text_inset(LinkMargins());
    linked->PlaceLinks();
  }
  return {r.left, r.top, r.right, r.top + height};
}

void LiteMainWindow::PlaceCheckBoxes() {
  const InstallationWindowLayout& layout = *layout_;
  CheckBox* const make_default = FindCheckBox(kDefaultCheckBoxId);
  CheckBox* const statistics_box = FindCheckBox(kStatisticsCheckBoxId);
  std::optional<RECT> statistics;
  if (layout.less_contrasty()) {
    if (statistics_box) statistics = PlaceCheckBox(statistics_box, layout.StatisticsCheckBoxRect());
    if (make_default) {
      Rect rect = layout.MakeDefaultCheckBoxRect();
      if (statistics) {
        const int height = rect.height();
        rect.top = static_cast<int>(statistics->bottom / scale_factor()) + kLessContrastyBoxGap;
        rect.bottom = rect.top + height;
      }
      PlaceCheckBox(make_default, rect);
    }
  } else {
    if (make_default) PlaceCheckBox(make_default, layout.MakeDefaultCheckBoxRect());
    if (statistics_box) statistics = PlaceCheckBox(statistics_box, layout.StatisticsCheckBoxRect());
  }
  if (CheckBox* const pin = FindCheckBox(kPinCheckBoxId)) PlaceCheckBox(pin, layout.PinCheckBoxRect());

  LinkLabel* const privacy_link = welcome_.privacy_link.get();
  if (privacy_link && design() == WindowDesign::kOrigin && statistics) {
    // Directly below the statistics box, in line with its picture.
    const GdiTextMeasurer measurer(fonts_.privacy_link.get());
    const SIZE text = measurer.Measure(ToWide(LoadText(kPrivacyTextId)), DT_SINGLELINE, 0);
    const int left = Scale(scale_factor(), layout.PrivacyLinkColumn().left) +
                     Scale(scale_factor(), kOriginCheckBoxPadding);
    SetWindowPos(privacy_link->hwnd(), nullptr, left, statistics->bottom, text.cx, text.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  if (privacy_link) privacy_link->set_background(CopyUnder(privacy_link->hwnd(), background_));
}

void LiteMainWindow::PlaceTitle() {
  // The layout's rectangle is the room the title may take; the control
  // takes only the lines of its text, so that it never paints over the
  // check boxes and the Install button inside that room.
  const Rect room = Scaled(layout_->TitleRect());
  const GdiTextMeasurer measurer(fonts_.title.get());
  const int height = std::min<int>(
      room.height(), measurer.Measure(ToWide(title_text_), DT_WORDBREAK, room.width()).cy);
  SetWindowPos(Item(kTitleId), nullptr, room.left, room.top, room.width(), height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void LiteMainWindow::PlaceWelcomeScreen() {
  PlaceTitle();
  PlaceCheckBoxes();
  PlaceButton(welcome_.install_button.get(), layout_->InstallButtonOrigin());
  PlaceButton(close_button_.get(), layout_->CloseButtonOrigin());
}

void LiteMainWindow::FinishInit() {
  const ThemeSpec& spec = theme_->spec();
  shadow_pictures_ = LoadShadowPictures(spec.shadow_corners, spec.shadow_edges, scale_factor());
  BuildShadow(CurrentBackground());
  const std::array<int, 7> order = WelcomeTabOrder(layout_->less_contrasty());
  ApplyTabOrder(hwnd(), std::vector<int>(order.begin(), order.end()));
  const std::vector<HWND> links =
      welcome_.licence ? welcome_.licence->LinkWindows() : std::vector<HWND>();
  hook_installed_ =
      ArrowKeyHook::Install(Item(kInstallButtonId), links.empty() ? nullptr : links.front());
  StartBuildingProgressBackground();
}

void LiteMainWindow::StartBuildingProgressBackground() {
  if (!progress_background_.empty() || progress_background_builder_.is_running()) return;
  RECT client;
  GetClientRect(hwnd(), &client);
  const SIZE size = {client.right, client.bottom};
  const double scale = scale_factor();
  // A copy: the thread must not read the theme while the window changes it.
  const ThemeSpec spec = theme_->spec();
  if (!progress_background_builder_.Start([this, spec, size, scale] {
        progress_background_ = BuildProgressBackground(spec, size, scale);
      })) {
    LOG(WARNING) << "The progress background is built at Install: no thread for it";
  }
}

void LiteMainWindow::FinishProgressBackground(SIZE size) {
  progress_background_builder_.Join();
  if (!progress_background_.empty()) return;
  progress_background_ = BuildProgressBackground(theme_->spec(), size, scale_factor());
}

// --- Progress screen -----------------------------------------------------

void LiteMainWindow::CreateProgressScreenObjects() {
  const ThemeSpec& spec = theme_->spec();
  const double scale = scale_factor();
  RECT client;
  GetClientRect(hwnd(), &client);
  const SIZE size = {client.right, client.bottom};
  progress_.taskbar = TaskbarProgress::Create();
  FinishProgressBackground(size);

  std::vector<ResourceBitmap> start_pictures;
  if (first_screen_skipped()) start_pictures.push_back(background_);
  start_pictures.push_back(progress_background_);
  const std::string& slide_url =
      brand().slide_url().empty() ? brand().slide_url_if_tagged() : brand().slide_url();
  auto source = std::make_unique<SlideSource>(
      std::move(start_pictures),
      SlideBaseAddress(slide_url, design(), brand().interface_language()),
      SlideExtension(design(), windows()), scale);
  progress_.slideshow = std::make_unique<Slideshow>(size, std::move(source), theme_->slide_brush());

  if (first_screen_skipped() && design() == WindowDesign::kOrigin) {
    std::u16string text =
        LoadText(spec.short_license_text ? kShortLicenceTextId : kLicenceTextId);
    const Rect r = Scaled(layout_->ProgressLicenseRect());
    MultiPartTextStyle style;
    style.font = fonts_.body_11.get();
    style.link_font = fonts_.body_11_underlined.get();
    style.centre_lines = true;
    style.line_spacing = spec.line_spacing;
    style.plain_id = kProgressLicencePlainId;
    style.link_id = kProgressLicenceLinkId;
    progress_.licence =
        MultiPartText::Create(hwnd(), {r.left, r.top, r.right, r.bottom}, ToWide(text), style,
                              ToWide(WithoutParentheses(LoadText(kLicenceTextId))));
  }

  const Rect bar = Scaled(layout_->ProgressBarRect());
  SetWindowPos(Item(kProgressBarId), nullptr, bar.left, bar.top, bar.width(), bar.height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  progress_.bar = std::make_unique<CustomProgressBar>(Item(kProgressBarId));
  progress_.bar->SetPictures(LoadPair(spec.progress_fill, scale),
                             LoadPair(spec.progress_track, scale),
                             CopyUnder(Item(kProgressBarId), progress_background_));
  Rect text = Scaled(layout_->ProgressTextRect());
  if (text.right <= bar.left) {
    // A slot before the bar (Origin) is narrower than "100%": the text may
    // run on into the room up to the bar rather than lose its end.
    const std::u16string widest = ProgressText(100, design(), LoadText(StageTextId(100)));
    const int width =
        GdiTextMeasurer(fonts_.body.get()).Measure(ToWide(widest), DT_SINGLELINE, 0).cx;
    text.right = std::min(bar.left, std::max(text.right, text.left + width));
  }
  SetWindowPos(Item(kProgressTextId), nullptr, text.left, text.top, text.width(), text.height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (const HWND cancel = Item(kCancelButtonId)) ShowWindow(cancel, SW_SHOWNA);
  if (const HWND minimize = Item(kMinimizeButtonId)) ShowWindow(minimize, SW_SHOWNA);
}

void LiteMainWindow::ShowProgressScreen() {
  const bool redesigned = design() != WindowDesign::kOrigin;
  // The wrappers let go of their windows before the windows go.
  welcome_ = WelcomeControls();
  if (!redesigned) close_button_.reset();
  std::vector<int> welcome = {kInstallButtonId, kLicenceLinkId,     kDefaultCheckBoxId,
                              kStatisticsCheckBoxId, kPinCheckBoxId, kPrivacyLinkId,
                              kLicencePlainId};
  if (!redesigned) welcome.push_back(kCloseButtonId);
  if (!(redesigned && first_screen_skipped())) welcome.push_back(kTitleId);
  {
    // One repaint for the whole screen change: destroying a shown control
    // otherwise has the window give up the area it covered, one control at
    // a time, while the user waits for the progress screen.
    const ScopedRedrawOff redraw_off(hwnd());
    for (int id : welcome) DestroyAll(hwnd(), id);
  }

  if (redesigned) {
    PlaceButton(minimize_button_.get(), layout_->MinimizeButtonOrigin());
    if (first_screen_skipped()) {
      title_text_ = LoadText(kSkippedTitleTextId);
      title_shows_start_text_ = true;
      SetWindowTextW(Item(kTitleId), Wide(title_text_));
      PlaceTitle();
      PlaceButton(close_button_.get(), layout_->CloseButtonOrigin());
    }
  }
  if (HasParamValue(params(), "cancel", "1")) {
    PlaceButton(cancel_button_.get(), layout_->CancelButtonOrigin());
  } else {
    DestroyCancelButton();
  }

  ShowWindow(Item(kProgressBarId), SW_SHOWNA);
  progress_.bar->SetRange(0, 100);
  progress_.bar->SetPos(0);
  // The text reads from the start: the first progress report may be a while
  // coming.
  SetProgressText(0);
  ShowWindow(Item(kProgressTextId), SW_SHOWNA);
  progress_.slideshow->StartClock();
  SetTimer(hwnd(), kSlideTimerId, kSlideTimerMs, nullptr);
}

void LiteMainWindow::OnProgressScreenShown() {
  InvalidateRect(hwnd(), nullptr, TRUE);
  if (design() == WindowDesign::kNewIdentity && IsWin8OrLater(windows())) {
    BuildShadow(progress_background_);
  }
}

void LiteMainWindow::ShowProgress(int percent) {
  if (!progress_.bar) return;
  progress_.bar->SetPos(percent);
  SetProgressText(percent);
  if (progress_.taskbar) progress_.taskbar->SetValue(hwnd(), percent);
}

void LiteMainWindow::SetProgressText(int percent) {
  const std::u16string text = ProgressText(percent, design(), LoadText(StageTextId(percent)));
  const HWND text_control = Item(kProgressTextId);
  SetWindowTextW(text_control, Wide(text));
  InvalidateRect(text_control, nullptr, TRUE);
}

int LiteMainWindow::ProgressPosition() const {
  return progress_.bar ? progress_.bar->GetPos() : -1;
}

void LiteMainWindow::OnTimerTick() {
  Slideshow* const slideshow = progress_.slideshow.get();
  if (!slideshow) return;
  if (slideshow->HasMoved()) {
    if (progress_.licence) {
      progress_.licence.reset();
      DestroyAll(hwnd(), kProgressLicencePlainId);
      DestroyAll(hwnd(), kProgressLicenceLinkId);
    }
    if (title_shows_start_text_) {
      DestroyAll(hwnd(), kTitleId);
      title_shows_start_text_ = false;
    }
  }
  if (slideshow->Tick()) {
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
}

// --- Painting ------------------------------------------------------------

void LiteMainWindow::Paint(HDC target, const RECT& client) {
  // Through a memory bitmap: no flicker while the slides change.
  ScopedBitmap bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
  ScopedMemoryDc dc(CreateCompatibleDC(target));
  {
    ScopedSelectObject select(dc.get(), bitmap.get());
    if (progress_mode() && progress_.slideshow) {
      PaintProgress(dc.get(), client);
    } else {
      PaintWelcome(dc.get());
    }
    BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
  }
  if (shadow_ && design() != WindowDesign::kOrigin && !IsWindowVisible(shadow_) &&
      IsWindowVisible(hwnd())) {
    ShowWindow(shadow_, SW_SHOWNOACTIVATE);
  }
}

void LiteMainWindow::PaintWelcome(HDC dc) {
  RECT client;
  GetClientRect(hwnd(), &client);
  FillRect(dc, &client, theme_->background_brush());
  background_.DrawAll(dc, {0, 0, background_.Width(), background_.Height()});
  if (design() != WindowDesign::kFacetune && !logo_.empty()) {
    const Rect logo = Scaled(layout_->LogoRect());
    logo_.DrawAll(dc, {logo.left, logo.top, logo.left + logo_.Width(), logo.top + logo_.Height()});
  }
  if (layout_->HasMinimizeButton() && !minimize_glyph_.empty()) {
    const Point at = ScalePoint(scale_factor(), layout_->MinimizeButtonOrigin());
    minimize_glyph_.DrawAll(
        dc, {at.x, at.y, at.x + minimize_glyph_.Width(), at.y + minimize_glyph_.Height()});
  }
}

void LiteMainWindow::PaintProgress(HDC dc, const RECT& client) {
  progress_.slideshow->Paint(dc, client);
  const ResourceBitmap& slide = progress_.slideshow->CurrentPicture();
  for (PictureButton* button :
       {close_button_.get(), minimize_button_.get(), cancel_button_.get()}) {
    if (button && button->hwnd()) button->set_background(CopyUnder(button->hwnd(), slide));
  }
  if (cancel_button_ && design() == WindowDesign::kOrigin) {
    // In Close's place, Cancel looks like Close over the picture Close was
    // drawn for.
    cancel_button_->set_strip(OverWindowBackground() ? close_strip_ : cancel_strip_);
  }
  if (design() == WindowDesign::kOrigin && !logo_.empty()) {
    const Rect logo = Scaled(layout_->LogoRect());
    logo_.DrawAll(dc, {logo.left, logo.top, logo.left + logo_.Width(), logo.top + logo_.Height()});
  }
  if (design() == WindowDesign::kNewIdentity && IsWin8OrLater(windows())) BuildShadow(slide);
}

void LiteMainWindow::DrawOwnerDrawnText(const DRAWITEMSTRUCT& draw,
                                        const ResourceBitmap& picture, HFONT font,
                                        uint32_t colour, uint8_t opacity, UINT format) {
  MemoryCanvas canvas(draw.hDC, draw.rcItem);
  if (!canvas.ok()) return;
  CopyUnder(draw.hwndItem, picture).Draw(canvas.dc(), canvas.width(), canvas.height());
  std::wstring text(GetWindowTextLengthW(draw.hwndItem) + 1, L'\0');
  text.resize(GetWindowTextW(draw.hwndItem, text.data(), static_cast<int>(text.size())));
  const RECT rect = {0, 0, canvas.width(), canvas.height()};
  DrawTextWithOpacity(canvas.dc(), rect, text, font, colour, opacity, format | DT_NOPREFIX);
}

bool LiteMainWindow::DrawItem(const DRAWITEMSTRUCT& draw) {
  const ThemeSpec& spec = theme_->spec();
  switch (draw.CtlID) {
    case kTitleId:
      DrawOwnerDrawnText(draw, CurrentBackground(), fonts_.title.get(), spec.title_colour,
                         spec.title_opacity,
                         spec.title_align == TextAlign::kCenter ? DT_CENTER : DT_LEFT);
      return true;
    case kProgressTextId: {
      // Over the slide shown: the window background comes first when the
      // first screen was skipped.
      const TextColour text = ProgressTextColour();
      DrawOwnerDrawnText(draw, CurrentBackground(), fonts_.body.get(), text.colour, text.opacity,
                         DT_LEFT);
      return true;
    }
    case kLicencePlainId:
      DrawOwnerDrawnText(draw, background_, fonts_.body.get(), spec.license_colour,
                         spec.license_opacity, DT_SINGLELINE);
      return true;
    case kLicenceLinkId:
      DrawOwnerDrawnText(draw, background_, fonts_.link.get(), spec.license_colour,
                         spec.license_opacity, DT_SINGLELINE);
      return true;
    case kProgressLicencePlainId:
    case kProgressLicenceLinkId: {
      std::wstring text(GetWindowTextLengthW(draw.hwndItem) + 1, L'\0');
      text.resize(GetWindowTextW(draw.hwndItem, text.data(), static_cast<int>(text.size())));
      RECT rect = draw.rcItem;
      // The control has no background of its own to keep: the slide under
      // it stands in for it.
      CopyUnder(draw.hwndItem, CurrentBackground())
          .Draw(draw.hDC, rect.right - rect.left, rect.bottom - rect.top);
      ScopedSelectObject select(draw.hDC, draw.CtlID == kProgressLicenceLinkId
                                              ? fonts_.body_11_underlined.get()
                                              : fonts_.body_11.get());
      SetBkMode(draw.hDC, TRANSPARENT);
      SetTextColor(draw.hDC, ProgressTextColour().colour);
      DrawTextLine(draw.hDC, rect, text);
      return true;
    }
    case kDefaultCheckBoxId:
    case kStatisticsCheckBoxId:
    case kPinCheckBoxId: {
      CheckBox* const box = FindCheckBox(static_cast<int>(draw.CtlID));
      if (!box) return false;
      box->OnDrawItem(draw);
      return true;
    }
    case kPrivacyLinkId:
      if (!welcome_.privacy_link) return false;
      welcome_.privacy_link->OnDrawItem(draw);
      return true;
    default:
      return false;
  }
}

std::optional<LRESULT> LiteMainWindow::CustomDraw(const NMCUSTOMDRAW& draw) {
  const bool origin = design() == WindowDesign::kOrigin;
  PictureButton* button = nullptr;
  int focus_inset = 0;
  bool takes_cues = false;
  switch (draw.hdr.idFrom) {
    case kInstallButtonId:
      button = welcome_.install_button.get();
      focus_inset = origin ? 2 : 0;
      takes_cues = true;
      break;
    case kCloseButtonId:
      button = close_button_.get();
      takes_cues = true;
      break;
    case kMinimizeButtonId:
      button = minimize_button_.get();
      takes_cues = true;
      break;
    case kCancelButtonId:
      button = cancel_button_.get();
      focus_inset = 2;
      break;
    case kDefaultCheckBoxId:
    case kStatisticsCheckBoxId:
    case kPinCheckBoxId:
      if (CheckBox* const box = FindCheckBox(static_cast<int>(draw.hdr.idFrom))) {
        return box->OnCustomDraw(draw);
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
  if (!button) return std::nullopt;
  if (takes_cues && (draw.uItemState & CDIS_SHOWKEYBOARDCUES) && !(draw.uItemState & CDIS_FOCUS)) {
    button->set_keyboard_cues(true);
  }
  return button->OnCustomDraw(draw, focus_inset);
}

void LiteMainWindow::OnActivated() {
  if (welcome_.install_button) welcome_.install_button->set_keyboard_cues(false);
}

// --- Check boxes, links, shadow ----------------------------------------

CheckBox* LiteMainWindow::FindCheckBox(int id) const {
  const auto found = welcome_.check_boxes.find(id);
  return found == welcome_.check_boxes.end() ? nullptr : found->second.get();
}

std::optional<bool> LiteMainWindow::CheckBoxState(int id) const {
  const CheckBox* box = FindCheckBox(id);
  if (!box) return std::nullopt;
  return box->IsChecked();
}

void LiteMainWindow::OnCheckBoxClicked(int id) {
  if (CheckBox* box = FindCheckBox(id)) box->OnClicked();
}

LiteMainWindow::TextColour LiteMainWindow::ProgressTextColour() const {
  const ThemeSpec& spec = theme_->spec();
  // Text on the window background takes the licence text's colour, as on
  // the welcome screen: the progress text's own is meant for the progress
  // pictures (black on Origin's dark background would not be read).
  if (OverWindowBackground()) return {spec.license_colour, spec.license_opacity};
  return {spec.progress_text_colour, spec.progress_text_opacity};
}

bool LiteMainWindow::OverWindowBackground() const {
  const Slideshow* slideshow = progress_.slideshow.get();
  return first_screen_skipped() && slideshow && !slideshow->HasMoved();
}

bool LiteMainWindow::OnSetCursor(HWND control) {
  const int id = control ? GetDlgCtrlID(control) : 0;
  if (id != kLicenceLinkId && id != kProgressLicenceLinkId) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

void LiteMainWindow::DestroyCancelButton() {
  cancel_button_.reset();
  DestroyAll(hwnd(), kCancelButtonId);
}

MainShadowParams LiteMainWindow::ShadowParams() const {
  return {design(), windows(), scale_factor(), layout_->ShadowInset()};
}

void LiteMainWindow::BuildShadow(const ResourceBitmap& picture) {
  BuildMainShadow(&shadow_, hwnd(), shadow_pictures_, picture, ShadowParams());
}

POINT LiteMainWindow::PaintShadow(Gdiplus::Graphics* g, SIZE window) const {
  return ComposeMainShadow(g, window, shadow_pictures_, CurrentBackground(), ShadowParams());
}

void LiteMainWindow::HideShadow() {
  if (shadow_) ShowWindow(shadow_, SW_HIDE);
}

void LiteMainWindow::MoveShadowWindow() {
  if (shadow_ && hwnd()) MoveShadow(shadow_, hwnd(), scale_factor());
}

}  // namespace lite
