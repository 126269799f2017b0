#include "ui/layout/installation_window_theme_win.h"

#include "distribution/brand_info.h"
#include "ui/layout/scale.h"

namespace lite {

InstallationWindowTheme::InstallationWindowTheme(
    ThemeSpec spec, std::shared_ptr<const InstallationWindowLayout> layout, HMODULE module)
    : spec_(std::move(spec)),
      layout_(std::move(layout)),
      background_brush_(CreateSolidBrush(spec_.background_colour)),
      slide_brush_(CreateSolidBrush(spec_.slide_background_colour)),
      fonts_(module, spec_.font_resources) {}

std::unique_ptr<InstallationWindowTheme> CreateTheme(
    const BrandInfo& brand, std::shared_ptr<const InstallationWindowLayout> layout) {
  ThemeSpec spec = GetThemeSpec(brand, layout->windows_release());
  return std::make_unique<InstallationWindowTheme>(std::move(spec), std::move(layout),
                                                   GetModuleHandleW(nullptr));
}

ScopedFont CreateThemeFont(const FontSpec& font, double scale_factor) {
  return ScopedFont(CreateFontW(-Scale(scale_factor, font.size), 0, 0, 0, font.weight, FALSE,
                                font.underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH, reinterpret_cast<const wchar_t*>(font.family)));
}

ThemeFonts ThemeFonts::Create(const ThemeSpec& spec, double scale_factor) {
  ThemeFonts fonts;
  fonts.title = CreateThemeFont(spec.title_font, scale_factor);
  fonts.install_button = CreateThemeFont(spec.install_button_font, scale_factor);
  fonts.body = CreateThemeFont(spec.body_font, scale_factor);
  fonts.link = CreateThemeFont(spec.link_font, scale_factor);
  fonts.body_28 = CreateThemeFont(spec.body_28_font, scale_factor);
  fonts.body_15 = CreateThemeFont(spec.body_15_font, scale_factor);
  fonts.body_11 = CreateThemeFont(spec.body_11_font, scale_factor);
  fonts.body_11_underlined = CreateThemeFont(spec.body_11_underlined_font, scale_factor);
  fonts.check_box = CreateThemeFont(spec.check_box_font, scale_factor);
  fonts.privacy_link = CreateThemeFont(spec.privacy_link_font, scale_factor);
  return fonts;
}

}  // namespace lite
