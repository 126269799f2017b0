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

}  // namespace lite

#endif  // UI_LAYOUT_INSTALLATION_WINDOW_THEME_WIN_H_
