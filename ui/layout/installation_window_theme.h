// With which fonts, colours, opacities, texts and pictures the installation
// window of each design is drawn: plain data, read by the window's Windows
// side (installation_window_theme_win.h) and its controls.
#ifndef UI_LAYOUT_INSTALLATION_WINDOW_THEME_H_
#define UI_LAYOUT_INSTALLATION_WINDOW_THEME_H_

#include <cstdint>
#include <vector>

#include "ui/layout/window_design.h"

namespace lite {

class BrandInfo;

// A character height in logical pixels; CreateFontW gets -trunc(size x
// scale).
struct FontSpec {
  const char16_t* family = u"";
  int size = 0;
  int weight = 400;
  bool underline = false;
};

// A picture's 1x and 2x RT_RCDATA ids; 2x 0 = one variant only, 1x 0 = none.
struct ImagePair {
  int id_1x = 0;
  int id_2x = 0;
  bool exists() const { return id_1x != 0; }
};

enum class TextAlign { kLeft, kCenter };

// COLORREF values (0x00BBGGRR).
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kWhite = 0xFFFFFF;
inline constexpr uint32_t kSlideGrey = 0xCFCFCF;

struct ThemeSpec {
  WindowDesign design = WindowDesign::kFacetune;

  int title_string_id = 0;
  int make_default_string_id = 426;
  // String 463 instead of 462 for the licence text.
  bool short_license_text = false;

  FontSpec title_font;
  uint32_t title_colour = kBlack;
  uint8_t title_opacity = 255;
  TextAlign title_align = TextAlign::kLeft;
  FontSpec install_button_font;
  uint32_t install_button_text_colour = kBlack;
  FontSpec body_font;  // progress text, licence text
  FontSpec link_font;
  // The body face at 28, 15, 11 and 11 underlined.
  FontSpec body_28_font;
  FontSpec body_15_font;
  FontSpec body_11_font;
  FontSpec body_11_underlined_font;
  FontSpec check_box_font;
  FontSpec privacy_link_font;
  uint32_t license_colour = kBlack;
  uint8_t license_opacity = 255;
  uint32_t progress_text_colour = kBlack;
  uint8_t progress_text_opacity = 255;
  uint32_t background_colour = kWhite;
  uint32_t slide_background_colour = kWhite;
  // Between the lines of the licence text.
  int line_spacing = 0;
  // RT_FONT ids registered while the window lives.
  std::vector<int> font_resources;

  ImagePair window_background;
  // Either the picture itself, or (composed) a window-size area of the slide
  // background colour with the picture at its bottom-left corner.
  ImagePair progress_background;
  bool progress_background_composed = false;
  ImagePair logo;
  ImagePair check_box_strip;
  ImagePair install_button_strip;
  ImagePair progress_fill;
  ImagePair progress_track;
  ImagePair close_strip;
  ImagePair minimize_strip;   // none in Origin
  ImagePair minimize_glyph;   // the welcome screen's dimmed minimise glyph
  ImagePair cancel_strip = {101, 0};
  // Top-left, top-right, bottom-right, bottom-left.
  ImagePair shadow_corners[4];
  // Left, top, right, bottom.
  ImagePair shadow_edges[4];
};

// Everything the theme of |design| says for these conditions; |language_id|
// picks the Russian pictures (1049) or the international ones.
ThemeSpec GetThemeSpec(WindowDesign design, WindowsRelease windows, bool less_contrasty,
                       uint32_t language_id);

// |font| as drawn for |language_id|: a bundled face that lacks the
// language's script gives way to the system's UI face.
FontSpec WithFaceFor(uint32_t language_id, FontSpec font);

// The brand's theme.
ThemeSpec GetThemeSpec(const BrandInfo& brand, WindowsRelease windows);

}  // namespace lite

#endif  // UI_LAYOUT_INSTALLATION_WINDOW_THEME_H_
