#include "ui/main_window/welcome_pictures_win.h"

namespace lite {
namespace {

WelcomePictures LoadWelcomePictures(const ThemeSpec& spec, double scale) {
  WelcomePictures pictures;
  pictures.background = LoadPair(spec.window_background, scale);
  pictures.logo = LoadPair(spec.logo, scale);
  pictures.minimize_glyph = LoadPair(spec.minimize_glyph, scale);
  pictures.install_button_strip = LoadPair(spec.install_button_strip, scale);
  pictures.close_strip = LoadPair(spec.close_strip, scale);
  pictures.cancel_strip = LoadPair(spec.cancel_strip, scale);
  pictures.minimize_strip = LoadPair(spec.minimize_strip, scale);
  pictures.check_box_strip = LoadPair(spec.check_box_strip, scale);
  return pictures;
}

}  // namespace

ResourceBitmap LoadPair(const ImagePair& pair, double scale) {
  return pair.exists() ? ResourceBitmap::Load(pair.id_1x, pair.id_2x, scale) : ResourceBitmap();
}

WelcomePictureLoader::WelcomePictureLoader(const ThemeSpec& spec, double scale)
    : spec_(spec), scale_(scale) {
  thread_.Start([this] { pictures_ = LoadWelcomePictures(spec_, scale_); });
}

WelcomePictures WelcomePictureLoader::Take() {
  // A joined thread, like one that never started, has no handle.
  if (!thread_.handle()) return LoadWelcomePictures(spec_, scale_);
  thread_.Join();
  return std::move(pictures_);
}

}  // namespace lite
