#include "ui/layout/installation_window_theme.h"

#include <string_view>

#include "distribution/brand_info.h"

namespace lite {
namespace {

constexpr char16_t kTsText[] = u"TS Text";
constexpr char16_t kSystemUiFace[] = u"Segoe UI";
constexpr uint32_t kJapaneseLangId = 1041;
constexpr uint32_t kSimplifiedChineseLangId = 2052;
constexpr uint32_t kTraditionalChineseLangId = 1028;

// Four consecutive ids from |first| (1x) and |first_2x| (2x; 0 = none).
void FourPairs(ImagePair (&pairs)[4], int first, int first_2x) {
  for (int i = 0; i < 4; ++i) pairs[i] = {first + i, first_2x ? first_2x + i : 0};
}

// The body face at the four further sizes every design creates.
void BodyFaceFonts(ThemeSpec* t, const char16_t* family) {
  t->body_28_font = {family, 28, 400, false};
  t->body_15_font = {family, 15, 400, false};
  t->body_11_font = {family, 11, 400, false};
  t->body_11_underlined_font = {family, 11, 400, true};
}

// Facetune, which NewIdentity starts from.
ThemeSpec Facetune(WindowsRelease windows, bool less_contrasty, bool ru) {
  ThemeSpec t;
  t.design = WindowDesign::kFacetune;
  t.title_string_id = 409;
  t.short_license_text = less_contrasty;
  t.title_font = {u"TS Display", 36, 700, false};
  t.install_button_font = {kTsText, 18, 400, false};
  t.install_button_text_colour = kBlack;
  t.body_font = {kTsText, less_contrasty ? 12 : 13, 400, false};
  t.link_font = t.body_font;
  BodyFaceFonts(&t, kTsText);
  t.check_box_font = t.body_font;
  t.privacy_link_font = t.link_font;
  t.license_colour = kBlack;
  t.license_opacity = 168;
  t.progress_text_colour = kBlack;
  t.progress_text_opacity = 168;
  t.background_colour = kSlideGrey;
  t.slide_background_colour = kSlideGrey;
  t.line_spacing = 1;
  t.font_resources = {2089, 2090, 2091};

  t.window_background = ru ? ImagePair{2023, 2024} : ImagePair{2021, 2022};
  t.progress_background = ru ? ImagePair{2027, 2028} : ImagePair{2025, 2026};
  t.progress_background_composed = true;
  t.logo = ru ? ImagePair{911, 917} : ImagePair{903, 915};
  t.check_box_strip = less_contrasty ? ImagePair{2256, 2257} : ImagePair{2019, 2020};
  t.install_button_strip = {2029, 0};
  t.progress_fill = {2038, 2039};
  t.progress_track = {2040, 2041};
  t.close_strip = {2030, 2031};
  t.minimize_strip = {2034, 2035};
  t.minimize_glyph = {2036, 2037};
  if (!IsWin8OrLater(windows)) {  // Windows 7 and before
    FourPairs(t.shadow_corners, 2058, 2062);
  } else {
    FourPairs(t.shadow_corners, 2042, 2050);
  }
  FourPairs(t.shadow_edges, 2046, 2054);
  return t;
}

ThemeSpec NewIdentity(WindowsRelease windows, bool less_contrasty, bool ru) {
  ThemeSpec t = Facetune(windows, less_contrasty, ru);
  const bool win7 = !IsWin8OrLater(windows);
  t.design = WindowDesign::kNewIdentity;
  t.title_string_id = 410;
  t.title_font = {u"TS Geo Medium", 34, 500, false};
  t.install_button_font = {u"TS Geo Regular", 18, 400, false};
  t.install_button_text_colour = kWhite;
  t.body_font = {kTsText, 13, 400, false};
  t.link_font = t.body_font;
  t.check_box_font = {kTsText, 12, 400, false};
  t.privacy_link_font = t.check_box_font;
  t.license_opacity = 115;
  t.font_resources = {2087, 2088, 2090};

  t.window_background = win7 ? ImagePair{2258, 2259} : ImagePair{2264, 2265};
  // On Windows 7 the same pictures six ids lower.
  const int progress = (ru ? 2268 : 2266) - (win7 ? 6 : 0);
  t.progress_background = {progress, progress + 1};
  t.progress_background_composed = false;
  t.logo = ru ? ImagePair{2273, 2274} : ImagePair{2271, 2272};
  t.install_button_strip = {2270, 0};
  if (win7) {
    FourPairs(t.shadow_corners, 2291, 2295);
  } else {
    FourPairs(t.shadow_corners, 2275, 2283);
  }
  FourPairs(t.shadow_edges, 2279, 2287);
  return t;
}

ThemeSpec Origin(bool ru) {
  ThemeSpec t;
  t.design = WindowDesign::kOrigin;
  t.title_string_id = 408;
  t.title_font = {u"Arial", 32, 400, false};
  t.title_colour = kWhite;
  t.title_align = TextAlign::kCenter;
  t.install_button_font = {u"SegoeUI", 15, 400, false};
  t.install_button_text_colour = kBlack;
  t.body_font = {u"Arial", 12, 400, false};
  t.link_font = {u"Arial", 12, 400, true};
  BodyFaceFonts(&t, u"Arial");
  t.check_box_font = t.body_font;
  t.privacy_link_font = t.link_font;
  t.license_colour = kWhite;
  t.license_opacity = 184;
  t.progress_text_colour = kBlack;
  t.progress_text_opacity = 255;
  t.background_colour = kWhite;
  t.slide_background_colour = kWhite;
  t.line_spacing = 0;

  t.window_background = {906, 0};
  t.progress_background = {ru ? 910 : 904, 0};
  t.progress_background_composed = true;
  t.logo = ru ? ImagePair{911, 917} : ImagePair{903, 915};
  t.check_box_strip = {902, 0};
  t.install_button_strip = {907, 0};
  t.progress_fill = {908, 0};
  t.progress_track = {909, 0};
  t.close_strip = {103, 0};
  FourPairs(t.shadow_corners, 225, 0);
  FourPairs(t.shadow_edges, 229, 0);
  return t;
}

void UseFacesFor(uint32_t language_id, ThemeSpec* t) {
  for (FontSpec* font : {&t->title_font, &t->install_button_font, &t->body_font, &t->link_font,
                         &t->body_28_font, &t->body_15_font, &t->body_11_font,
                         &t->body_11_underlined_font, &t->check_box_font,
                         &t->privacy_link_font}) {
    *font = WithFaceFor(language_id, *font);
  }
}

ThemeSpec DesignTheme(WindowDesign design, WindowsRelease windows, bool less_contrasty,
                      bool ru) {
  switch (design) {
    case WindowDesign::kNewIdentity:
      return NewIdentity(windows, less_contrasty, ru);
    case WindowDesign::kFacetune:
      return Facetune(windows, less_contrasty, ru);
    case WindowDesign::kOrigin:
      break;
  }
  return Origin(ru);
}

}  // namespace

ThemeSpec GetThemeSpec(WindowDesign design, WindowsRelease windows, bool less_contrasty,
                       uint32_t language_id) {
  ThemeSpec t = DesignTheme(design, windows, less_contrasty, language_id == kRussianLangId);
  UseFacesFor(language_id, &t);
  return t;
}

FontSpec WithFaceFor(uint32_t language_id, FontSpec font) {
  // The bundled faces carry Latin and Cyrillic only. A face the system does
  // not know takes part in no font linking, so Chinese and Japanese texts
  // in them would show as empty boxes: those get the system's UI face,
  // which links to its CJK fonts, at the same size and weight.
  switch (language_id) {
    case kJapaneseLangId:
    case kSimplifiedChineseLangId:
    case kTraditionalChineseLangId:
      break;
    default:
      return font;
  }
  const std::u16string_view family = font.family;
  if (family.substr(0, 3) == u"TS ") font.family = kSystemUiFace;
  return font;
}

ThemeSpec GetThemeSpec(const BrandInfo& brand, WindowsRelease windows) {
  return GetThemeSpec(ChooseWindowDesign(brand), windows, brand.IsLessContrasty(),
                      brand.language_id());
}

}  // namespace lite
