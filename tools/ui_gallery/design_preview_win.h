// The installation window of a design as the gallery shows it: its
// pictures, fonts, texts and layout on the welcome or the progress screen.
// Controls are drawn as their pictures at their places, not made live.
#ifndef TOOLS_UI_GALLERY_DESIGN_PREVIEW_WIN_H_
#define TOOLS_UI_GALLERY_DESIGN_PREVIEW_WIN_H_

#include <windows.h>

#include <memory>
#include <string>

#include "tools/ui_gallery/gallery_options.h"
#include "ui/dialog_window_win.h"
#include "ui/images/resource_bitmap_win.h"
#include "ui/images/shadow_win.h"
#include "ui/layout/installation_window_layout.h"
#include "ui/layout/installation_window_theme_win.h"

namespace lite {

class BrandInfo;

class DesignPreview : public DialogWindow {
 public:
  enum class Screen { kWelcome, kProgress };

  DesignPreview(const BrandInfo& brand, const GalleryOptions& options, Screen screen);
  ~DesignPreview() override;

  // The shadow the preview gives its window, drawn for a picture of it.
  POINT PaintShadow(Gdiplus::Graphics* g, SIZE window) const;

 protected:
  int GetDialogTemplateId() const override { return 901; }
  bool ProcessWindowMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                            LRESULT* result) override;

 private:
  void OnInitDialog(HWND window);
  MainShadowParams ShadowParams() const;
  void Paint(HDC dc, const RECT& client);
  void PaintWelcome(HDC dc);
  void PaintProgress(HDC dc);
  void PaintOutlines(HDC dc);
  // Frame |frame| of a strip of |frames| at |origin| (logical pixels).
  void DrawFrame(HDC dc, const ResourceBitmap& strip, int frames, int frame, Point origin);
  void DrawLabel(HDC dc, const std::u16string& text, HFONT font, uint32_t colour,
                const Rect& logical, UINT format);
  std::u16string Text(int id) const;
  Rect Scaled(const Rect& r) const { return ScaleRect(scale_, r); }

  const double scale_;
  const uint32_t language_id_;
  const bool outline_;
  const Screen screen_;
  std::shared_ptr<const InstallationWindowLayout> layout_;
  std::unique_ptr<InstallationWindowTheme> theme_;
  ScopedFont title_font_;
  ScopedFont button_font_;
  ScopedFont body_font_;
  ScopedFont check_box_font_;
  ResourceBitmap background_;
  ResourceBitmap logo_;
  ResourceBitmap check_box_strip_;
  ResourceBitmap install_strip_;
  ResourceBitmap close_strip_;
  ResourceBitmap minimize_strip_;
  ResourceBitmap minimize_glyph_;
  ResourceBitmap progress_fill_;
  ResourceBitmap progress_track_;
  ShadowPictures shadow_pictures_;
  HWND shadow_ = nullptr;
};

}  // namespace lite

#endif  // TOOLS_UI_GALLERY_DESIGN_PREVIEW_WIN_H_
