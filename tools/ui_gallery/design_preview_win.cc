#include "tools/ui_gallery/design_preview_win.h"

#include "base/string_table_win.h"
#include "distribution/brand_info.h"
#include "ui/images/progress_background_win.h"
#include "ui/images/shadow_win.h"
#include "ui/layout/window_shape_win.h"

namespace lite {
namespace {

// The preview's progress value.
constexpr int kPreviewPercent = 37;

ResourceBitmap LoadPair(const ImagePair& pair, double scale) {
  return pair.exists() ? ResourceBitmap::Load(pair.id_1x, pair.id_2x, scale) : ResourceBitmap();
}

// The licence text as one plain text: link markers taken out.
std::u16string WithoutLinkMarkers(std::u16string text) {
  for (const char16_t* marker : {u"((", u"))"}) {
    for (size_t at; (at = text.find(marker)) != std::u16string::npos;) text.erase(at, 2);
  }
  return text;
}

}  // namespace

DesignPreview::DesignPreview(const BrandInfo& brand, const GalleryOptions& options,
                             Screen screen)
    : scale_(options.scale_factor),
      language_id_(brand.language_id()),
      outline_(options.outline),
      screen_(screen),
      layout_(CreateLayout(brand, kMakeDefaultBoxShown | kStatisticsBoxShown, options.windows)),
      theme_(CreateTheme(brand, layout_)) {}

DesignPreview::~DesignPreview() {
  if (shadow_) DestroyWindow(shadow_);
}

std::u16string DesignPreview::Text(int id) const {
  return LoadStringInLanguage(GetModuleHandleW(nullptr), static_cast<uint16_t>(language_id_),
                              static_cast<uint32_t>(id));
}

void DesignPreview::OnInitDialog(HWND window) {
  const ThemeSpec& spec = theme_->spec();
  // The template's controls belong to the real window; the preview draws.
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    ShowWindow(child, SW_HIDE);
  }
  SetWindowTextW(window, reinterpret_cast<const wchar_t*>(Text(400).c_str()));
  title_font_ = CreateThemeFont(spec.title_font, scale_);
  button_font_ = CreateThemeFont(spec.install_button_font, scale_);
  body_font_ = CreateThemeFont(spec.body_font, scale_);
  check_box_font_ = CreateThemeFont(spec.check_box_font, scale_);

  const SIZE size = {Scale(scale_, layout_->WindowWidth()),
                     Scale(scale_, layout_->WindowHeight())};
  background_ = screen_ == Screen::kWelcome ? LoadPair(spec.window_background, scale_)
                                            : BuildProgressBackground(spec, size, scale_);
  logo_ = LoadPair(spec.logo, scale_);
  check_box_strip_ = LoadPair(spec.check_box_strip, scale_);
  install_strip_ = LoadPair(spec.install_button_strip, scale_);
  close_strip_ = LoadPair(spec.close_strip, scale_);
  minimize_strip_ = LoadPair(spec.minimize_strip, scale_);
  minimize_glyph_ = LoadPair(spec.minimize_glyph, scale_);
  progress_fill_ = LoadPair(spec.progress_fill, scale_);
  progress_track_ = LoadPair(spec.progress_track, scale_);

  // The window takes its background's size; the layout's when it is missing.
  const int width = background_.empty() ? size.cx : background_.Width();
  const int height = background_.empty() ? size.cy : background_.Height();
  ShapeWindow(window, width, height, layout_->CornerRadius(), scale_);
  CenterWindow(window);

  shadow_pictures_ = LoadShadowPictures(spec.shadow_corners, spec.shadow_edges, scale_);
  BuildMainShadow(&shadow_, window, shadow_pictures_, background_, ShadowParams());
}

MainShadowParams DesignPreview::ShadowParams() const {
  return {theme_->spec().design, layout_->windows_release(), scale_, layout_->ShadowInset()};
}

POINT DesignPreview::PaintShadow(Gdiplus::Graphics* g, SIZE window) const {
  return ComposeMainShadow(g, window, shadow_pictures_, background_, ShadowParams());
}

bool DesignPreview::ProcessWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM,
                                         LRESULT* result) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog(window);
      *result = 1;
      return true;
    case WM_ERASEBKGND:
      *result = 1;
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT client;
      GetClientRect(window, &client);
      Paint(dc, client);
      EndPaint(window, &ps);
      if (shadow_ && theme_->spec().design != WindowDesign::kOrigin &&
          !IsWindowVisible(shadow_)) {
        ShowWindow(shadow_, SW_SHOWNOACTIVATE);
      }
      *result = 0;
      return true;
    }
    case WM_CTLCOLORDLG:
      *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return true;
    case WM_COMMAND:
      // The preview has no live Close button: Esc ends it.
      if (LOWORD(wparam) != IDCANCEL) break;
      EndDialog(window, 0);
      *result = 0;
      return true;
    default:
      break;
  }
  if (message == move_window_message()) {
    MoveShadow(shadow_, window, scale_);
    *result = 0;
    return true;
  }
  return false;
}

void DesignPreview::Paint(HDC target, const RECT& client) {
  // Through a memory bitmap, as the window itself paints.
  ScopedBitmap bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
  ScopedMemoryDc dc(CreateCompatibleDC(target));
  ScopedSelectObject select(dc.get(), bitmap.get());
  FillRect(dc.get(), &client, theme_->background_brush());
  background_.DrawAll(dc.get(), {0, 0, background_.Width(), background_.Height()});
  if (screen_ == Screen::kWelcome) {
    PaintWelcome(dc.get());
  } else {
    PaintProgress(dc.get());
  }
  if (outline_) PaintOutlines(dc.get());
  BitBlt(target, 0, 0, client.right, client.bottom, dc.get(), 0, 0, SRCCOPY);
}

void DesignPreview::DrawFrame(HDC dc, const ResourceBitmap& strip, int frames, int frame,
                              Point origin) {
  if (strip.empty()) return;
  const int width = strip.Width() / frames;
  const Point at = ScalePoint(scale_, origin);
  strip.Draw(dc, {at.x, at.y, at.x + width, at.y + strip.Height()},
             {frame * width, 0, (frame + 1) * width, strip.Height()});
}

void DesignPreview::DrawLabel(HDC dc, const std::u16string& text, HFONT font, uint32_t colour,
                             const Rect& logical, UINT format) {
  const Rect r = Scaled(logical);
  RECT rect = {r.left, r.top, r.right, r.bottom};
  ScopedSelectObject select(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), -1, &rect,
            format | DT_NOPREFIX);
}

void DesignPreview::PaintWelcome(HDC dc) {
  const ThemeSpec& spec = theme_->spec();
  const InstallationWindowLayout& layout = *layout_;
  if (spec.design != WindowDesign::kFacetune) {
    const Rect logo = Scaled(layout.LogoRect());
    logo_.DrawAll(dc, {logo.left, logo.top, logo.left + logo_.Width(), logo.top + logo_.Height()});
  }
  DrawLabel(dc, Text(spec.title_string_id), title_font_.get(), spec.title_colour,
           layout.TitleRect(),
           DT_WORDBREAK | (spec.title_align == TextAlign::kCenter ? DT_CENTER : DT_LEFT));

  // Both check boxes checked, their labels beside them.
  struct Box {
    Rect rect;
    std::u16string label;
  } const boxes[] = {
      {layout.MakeDefaultCheckBoxRect(), Text(spec.make_default_string_id)},
      {layout.StatisticsCheckBoxRect(),
       spec.design == WindowDesign::kOrigin ? Text(427) : Text(427) + u" " + Text(431)},
  };
  const int frame = check_box_strip_.Width() / 6;
  for (const Box& box : boxes) {
    if (box.rect.empty()) continue;
    DrawFrame(dc, check_box_strip_, 6, 3, {box.rect.left, box.rect.top});
    Rect label = box.rect;
    label.left += layout.CheckBoxLabelGap() + static_cast<int>(frame / scale_);
    DrawLabel(dc, box.label, check_box_font_.get(), spec.license_colour, label, DT_WORDBREAK);
  }

  const Point install = layout.InstallButtonOrigin();
  DrawFrame(dc, install_strip_, 3, 0, install);
  const int button_width = static_cast<int>(install_strip_.Width() / 3 / scale_);
  const int button_height = static_cast<int>(install_strip_.Height() / scale_);
  DrawLabel(dc, Text(415), button_font_.get(), spec.install_button_text_colour,
           {install.x, install.y, install.x + button_width, install.y + button_height},
           DT_SINGLELINE | DT_CENTER | DT_VCENTER);

  std::u16string license = WithoutLinkMarkers(Text(spec.short_license_text ? 463 : 462));
  if (spec.design != WindowDesign::kOrigin && !license.empty() && license.back() == u'.') {
    license.pop_back();
  }
  DrawLabel(dc, license, body_font_.get(), spec.license_colour, layout.LicenseRect(),
           DT_WORDBREAK | (spec.design == WindowDesign::kNewIdentity ? DT_CENTER : DT_LEFT));

  DrawFrame(dc, close_strip_, 3, 0, layout.CloseButtonOrigin());
  if (layout.HasMinimizeButton() && !minimize_glyph_.empty()) {
    const Point at = ScalePoint(scale_, layout.MinimizeButtonOrigin());
    minimize_glyph_.DrawAll(
        dc, {at.x, at.y, at.x + minimize_glyph_.Width(), at.y + minimize_glyph_.Height()});
  }
}

void DesignPreview::PaintProgress(HDC dc) {
  const ThemeSpec& spec = theme_->spec();
  const InstallationWindowLayout& layout = *layout_;
  if (spec.design == WindowDesign::kOrigin) {
    const Rect logo = Scaled(layout.LogoRect());
    logo_.DrawAll(dc, {logo.left, logo.top, logo.left + logo_.Width(), logo.top + logo_.Height()});
  }
  const Rect bar = Scaled(layout.ProgressBarRect());
  const int filled = bar.width() * kPreviewPercent / 100;
  progress_fill_.Draw(dc, {bar.left, bar.top, bar.left + filled, bar.bottom},
                      {0, 0, filled, progress_fill_.Height()});
  progress_track_.Draw(dc, {bar.left + filled, bar.top, bar.right, bar.bottom},
                       {filled, 0, progress_track_.Width(), progress_track_.Height()});
  std::u16string text = u"37%";
  if (spec.design != WindowDesign::kOrigin) text = Text(412) + u" " + text;
  DrawLabel(dc, text, body_font_.get(), spec.progress_text_colour, layout.ProgressTextRect(),
           DT_WORDBREAK);
  if (layout.HasMinimizeButton()) {
    DrawFrame(dc, minimize_strip_, 3, 0, layout.MinimizeButtonOrigin());
    DrawFrame(dc, close_strip_, 3, 0, layout.CloseButtonOrigin());
  }
}

void DesignPreview::PaintOutlines(HDC dc) {
  const InstallationWindowLayout& layout = *layout_;
  const Rect welcome[] = {layout.TitleRect(), layout.StatisticsCheckBoxRect(),
                          layout.MakeDefaultCheckBoxRect(), layout.PinCheckBoxRect(),
                          layout.LogoRect(), layout.LicenseRect()};
  const Rect progress[] = {layout.ProgressBarRect(), layout.ProgressTextRect(),
                           layout.ProgressLicenseRect(), layout.LogoRect()};
  ScopedBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
  auto frame = [&](const Rect& logical) {
    if (logical.empty()) return;
    const Rect r = Scaled(logical);
    const RECT rect = {r.left, r.top, r.right, r.bottom};
    FrameRect(dc, &rect, magenta.get());
  };
  if (screen_ == Screen::kWelcome) {
    for (const Rect& r : welcome) frame(r);
  } else {
    for (const Rect& r : progress) frame(r);
  }
}

}  // namespace lite
