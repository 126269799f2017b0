#include "ui/layout/installation_window_theme.h"

#include <gtest/gtest.h>

#include <string>

namespace lite {
namespace {

using D = WindowDesign;
constexpr WindowsRelease kWin10 = WindowsRelease::kWin10;
constexpr WindowsRelease kWin7 = WindowsRelease::kWin7;

bool operator==(const ImagePair& a, const ImagePair& b) {
  return a.id_1x == b.id_1x && a.id_2x == b.id_2x;
}

TEST(InstallationWindowThemeTest, PropertiesOfEachDesign) {
  struct Row {
    D design;
    bool less_contrasty;
    int title_id;
    const char16_t* title_face;
    int title_size, title_weight;
    uint32_t title_colour;
    TextAlign align;
    const char16_t* button_face;
    int button_size;
    uint32_t button_colour;
    int body_size;
    bool link_underlined;
    int check_box_size;
    uint32_t license_colour;
    int license_opacity, progress_opacity;
    uint32_t slide_colour;
    std::vector<int> fonts;
    bool short_license;
  } const rows[] = {
      {D::kNewIdentity, false, 410, u"TS Geo Medium", 34, 500, kBlack, TextAlign::kLeft,
       u"TS Geo Regular", 18, kWhite, 13, false, 12, kBlack, 115, 168, 0xCFCFCF,
       {2087, 2088, 2090}, false},
      {D::kFacetune, false, 409, u"TS Display", 36, 700, kBlack, TextAlign::kLeft, u"TS Text",
       18, kBlack, 13, false, 13, kBlack, 168, 168, 0xCFCFCF, {2089, 2090, 2091}, false},
      {D::kFacetune, true, 409, u"TS Display", 36, 700, kBlack, TextAlign::kLeft, u"TS Text", 18,
       kBlack, 12, false, 12, kBlack, 168, 168, 0xCFCFCF, {2089, 2090, 2091}, true},
      {D::kOrigin, false, 408, u"Arial", 32, 400, kWhite, TextAlign::kCenter, u"SegoeUI", 15,
       kBlack, 12, true, 12, kWhite, 184, 255, kWhite, {}, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(r.design) << " " << r.less_contrasty);
    const ThemeSpec t = GetThemeSpec(r.design, kWin10, r.less_contrasty, 1033);
    EXPECT_EQ(t.title_string_id, r.title_id);
    EXPECT_EQ(t.make_default_string_id, 426);
    EXPECT_EQ(std::u16string(t.title_font.family), r.title_face);
    EXPECT_EQ(t.title_font.size, r.title_size);
    EXPECT_EQ(t.title_font.weight, r.title_weight);
    EXPECT_EQ(t.title_colour, r.title_colour);
    EXPECT_EQ(t.title_opacity, 255);
    EXPECT_EQ(t.title_align, r.align);
    EXPECT_EQ(std::u16string(t.install_button_font.family), r.button_face);
    EXPECT_EQ(t.install_button_font.size, r.button_size);
    EXPECT_EQ(t.install_button_text_colour, r.button_colour);
    EXPECT_EQ(t.body_font.size, r.body_size);
    EXPECT_EQ(t.link_font.size, r.body_size);
    EXPECT_EQ(t.link_font.underline, r.link_underlined);
    EXPECT_EQ(t.check_box_font.size, r.check_box_size);
    EXPECT_EQ(std::u16string(t.body_28_font.family), std::u16string(t.body_font.family));
    EXPECT_EQ(t.body_28_font.size, 28);
    EXPECT_TRUE(t.body_11_underlined_font.underline);
    EXPECT_EQ(t.license_colour, r.license_colour);
    EXPECT_EQ(t.license_opacity, r.license_opacity);
    EXPECT_EQ(t.progress_text_opacity, r.progress_opacity);
    EXPECT_EQ(t.slide_background_colour, r.slide_colour);
    EXPECT_EQ(t.font_resources, r.fonts);
    EXPECT_EQ(t.short_license_text, r.short_license);
  }
}

TEST(InstallationWindowThemeTest, PicturesByDesignReleaseAndLanguage) {
  struct Row {
    D design;
    WindowsRelease windows;
    bool less_contrasty;
    uint32_t lang;
    ImagePair background, progress;
    bool composed;
    ImagePair logo, check_box, install, first_corner, first_edge;
  } const rows[] = {
      {D::kNewIdentity, kWin10, false, 1033, {2264, 2265}, {2266, 2267}, false, {2271, 2272},
       {2019, 2020}, {2270, 0}, {2275, 2283}, {2279, 2287}},
      {D::kNewIdentity, kWin10, true, 1049, {2264, 2265}, {2268, 2269}, false, {2273, 2274},
       {2256, 2257}, {2270, 0}, {2275, 2283}, {2279, 2287}},
      {D::kNewIdentity, kWin7, false, 1049, {2258, 2259}, {2262, 2263}, false, {2273, 2274},
       {2019, 2020}, {2270, 0}, {2291, 2295}, {2279, 2287}},
      {D::kFacetune, kWin10, false, 1049, {2023, 2024}, {2027, 2028}, true, {911, 917},
       {2019, 2020}, {2029, 0}, {2042, 2050}, {2046, 2054}},
      {D::kFacetune, kWin7, false, 1058, {2021, 2022}, {2025, 2026}, true, {903, 915},
       {2019, 2020}, {2029, 0}, {2058, 2062}, {2046, 2054}},
      {D::kOrigin, kWin10, false, 1049, {906, 0}, {910, 0}, true, {911, 917}, {902, 0},
       {907, 0}, {225, 0}, {229, 0}},
      {D::kOrigin, kWin10, false, 1033, {906, 0}, {904, 0}, true, {903, 915}, {902, 0},
       {907, 0}, {225, 0}, {229, 0}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(r.design) << " lang " << r.lang
                                      << " release " << static_cast<int>(r.windows));
    const ThemeSpec t = GetThemeSpec(r.design, r.windows, r.less_contrasty, r.lang);
    EXPECT_TRUE(t.window_background == r.background);
    EXPECT_TRUE(t.progress_background == r.progress);
    EXPECT_EQ(t.progress_background_composed, r.composed);
    EXPECT_TRUE(t.logo == r.logo);
    EXPECT_TRUE(t.check_box_strip == r.check_box);
    EXPECT_TRUE(t.install_button_strip == r.install);
    EXPECT_TRUE(t.shadow_corners[0] == r.first_corner);
    EXPECT_TRUE(t.shadow_corners[3] == (ImagePair{r.first_corner.id_1x + 3,
                                                  r.first_corner.id_2x ? r.first_corner.id_2x + 3
                                                                       : 0}));
    EXPECT_TRUE(t.shadow_edges[0] == r.first_edge);
    EXPECT_EQ(t.minimize_strip.exists(), r.design != D::kOrigin);
    EXPECT_TRUE(t.close_strip == (r.design == D::kOrigin ? ImagePair{103, 0}
                                                          : ImagePair{2030, 2031}));
  }
}

}  // namespace
// The bundled faces have no CJK glyphs: Chinese and Japanese take the
// system face with the design's sizes and weights; other languages and the
// Origin design keep their faces.
TEST(InstallationWindowThemeTest, CjkLanguagesTakeTheSystemFaceInTheBundledFacesDesigns) {
  const struct {
    D design;
    uint32_t lang;
    std::u16string title_family;
    std::u16string check_box_family;
  } rows[] = {
      {D::kFacetune, 1041, u"Segoe UI", u"Segoe UI"},
      {D::kNewIdentity, 2052, u"Segoe UI", u"Segoe UI"},
      {D::kNewIdentity, 1028, u"Segoe UI", u"Segoe UI"},
      {D::kNewIdentity, 1049, u"TS Geo Medium", u"TS Text"},
      {D::kFacetune, 1087, u"TS Display", u"TS Text"},
      {D::kOrigin, 1041, u"Arial", u"Arial"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(r.design) << " lang " << r.lang);
    const ThemeSpec t = GetThemeSpec(r.design, kWin10, false, r.lang);
    const ThemeSpec latin = GetThemeSpec(r.design, kWin10, false, 1033);
    EXPECT_EQ(std::u16string(t.title_font.family), r.title_family);
    EXPECT_EQ(std::u16string(t.check_box_font.family), r.check_box_family);
    EXPECT_EQ(t.title_font.size, latin.title_font.size);
    EXPECT_EQ(t.title_font.weight, latin.title_font.weight);
    EXPECT_EQ(t.font_resources, latin.font_resources);
  }
}

}  // namespace lite
