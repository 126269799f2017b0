// The Windows side of a theme: its brushes, its registered private fonts and
// the GDI fonts made from its font descriptions.
#ifndef UI_LAYOUT_INSTALLATION_WINDOW_THEME_WIN_H_
#define UI_LAYOUT_INSTALLATION_WINDOW_THEME_WIN_H_

#include <windows.h>

#include <memory>

#include "ui/layout/font_resources_win.h"
#include "ui/layout/installation_window_layout.h"
#include "ui/layout/installation_window_theme.h"
#include "ui/layout/scoped_gdi_object_win.h"

namespace lite {

class InstallationWindowTheme {
 public:
  // Registers the design's fonts from |module| (none for Origin).
  InstallationWindowTheme(ThemeSpec spec, std::shared_ptr<const InstallationWindowLayout> layout,
                          HMODULE module);
  InstallationWindowTheme(const InstallationWindowTheme&) = delete;
  InstallationWindowTheme& operator=(const InstallationWindowTheme&) = delete;

  const ThemeSpec& spec() const { return spec_; }
  const InstallationWindowLayout& layout() const { return *layout_; }
  HBRUSH background_brush() const { return background_brush_.get(); }
  // Behind the slides of the progress screen.
  HBRUSH slide_brush() const { return slide_brush_.get(); }
  size_t registered_font_count() const { return fonts_.count(); }

 private:
  const ThemeSpec spec_;
  const std::shared_ptr<const InstallationWindowLayout> layout_;
  ScopedBrush background_brush_;
  ScopedBrush slide_brush_;
  FontResources fonts_;
};

// The brand's theme for |layout|, its fonts from this program's module.
std::unique_ptr<InstallationWindowTheme> CreateTheme(
    const BrandInfo& brand, std::shared_ptr<const InstallationWindowLayout> layout);

// CreateFontW at height -trunc(size x scale), the given weight and
// underline, DEFAULT_CHARSET and default precision, quality and pitch.
ScopedFont CreateThemeFont(const FontSpec& font, double scale_factor);

// The installation window's fonts, made together from its theme at its
// scale and deleted with it.
struct ThemeFonts {
  static ThemeFonts Create(const ThemeSpec& spec, double scale_factor);

  ScopedFont title;
  ScopedFont install_button;
  ScopedFont body;
  ScopedFont link;
  // The body face at 28, 15, 11 and 11 underlined.
  ScopedFont body_28;
  ScopedFont body_15;
  ScopedFont body_11;
  ScopedFont body_11_underlined;
  ScopedFont check_box;
  ScopedFont privacy_link;
};

}  // namespace lite

#endif  // UI_LAYOUT_INSTALLATION_WINDOW_THEME_WIN_H_
