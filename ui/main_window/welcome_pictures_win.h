#ifndef UI_MAIN_WINDOW_WELCOME_PICTURES_WIN_H_
#define UI_MAIN_WINDOW_WELCOME_PICTURES_WIN_H_

#include "base/thread_win.h"
#include "ui/images/resource_bitmap_win.h"
#include "ui/layout/installation_window_theme.h"

namespace lite {

// Every picture the welcome screen shows, at the window's scale.
struct WelcomePictures {
  ResourceBitmap background;
  ResourceBitmap logo;
  ResourceBitmap minimize_glyph;
  ResourceBitmap install_button_strip;
  ResourceBitmap close_strip;
  ResourceBitmap cancel_strip;
  ResourceBitmap minimize_strip;
  ResourceBitmap check_box_strip;
};

// Decodes the welcome pictures on a thread of its own from construction on,
// so that the decoding overlaps the creation of the dialog instead of
// delaying the window's first paint.
class WelcomePictureLoader {
 public:
  WelcomePictureLoader(const ThemeSpec& spec, double scale);
  WelcomePictureLoader(const WelcomePictureLoader&) = delete;
  WelcomePictureLoader& operator=(const WelcomePictureLoader&) = delete;
  ~WelcomePictureLoader() = default;  // |thread_| joins first

  // Waits for the thread and hands the pictures over; decodes them on the
  // calling thread when the thread could not start or they were taken.
  WelcomePictures Take();

 private:
  const ThemeSpec spec_;  // a copy the thread reads while the window goes on
  const double scale_;
  WelcomePictures pictures_;
  // Declared last: destroyed, and so joined, before what it writes.
  Thread thread_;
};

// The 1x or 2x variant of |pair| for |scale|, decoded; empty when the theme
// has no such picture.
ResourceBitmap LoadPair(const ImagePair& pair, double scale);

}  // namespace lite

#endif  // UI_MAIN_WINDOW_WELCOME_PICTURES_WIN_H_
