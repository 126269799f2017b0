#include "ui/images/progress_background_win.h"

#include "ui/layout/scoped_gdi_object_win.h"

namespace lite {

ResourceBitmap BuildProgressBackground(const ThemeSpec& theme, SIZE window_size,
                                       double scale_factor) {
  const ImagePair& ids = theme.progress_background;
  ResourceBitmap picture = ResourceBitmap::Load(ids.id_1x, ids.id_2x, scale_factor);
  if (!theme.progress_background_composed) return picture;

  ScopedScreenDc screen;
  ScopedBitmap bitmap(CreateCompatibleBitmap(screen.get(), window_size.cx, window_size.cy));
  ScopedMemoryDc dc(CreateCompatibleDC(screen.get()));
  if (!bitmap || !dc) return picture;
  {
    ScopedSelectObject select(dc.get(), bitmap.get());
    ScopedBrush brush(CreateSolidBrush(theme.slide_background_colour));
    const RECT all = {0, 0, window_size.cx, window_size.cy};
    FillRect(dc.get(), &all, brush.get());
    const RECT corner = {0, window_size.cy - picture.Height(), picture.Width(), window_size.cy};
    picture.Draw(dc.get(), corner, {0, 0, picture.Width(), picture.Height()});
  }
  return ResourceBitmap::FromHBITMAP(bitmap.get());
}

}  // namespace lite
