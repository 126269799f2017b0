// Which of a picture's two variants to draw at a scale factor, and at what
// scale (screen pixels per picture pixel).
#ifndef UI_IMAGES_IMAGE_VARIANT_H_
#define UI_IMAGES_IMAGE_VARIANT_H_

namespace lite {

struct ImageVariant {
  int resource_id = 0;
  double scale = 1.0;
};

// The 1x picture only at exactly 100 % (or when there is no 2x picture);
// any other factor, smaller ones included, draws the 2x picture scaled down.
inline ImageVariant ChooseImageVariant(int id_1x, int id_2x, double scale_factor) {
  if (scale_factor == 1.0 || id_2x == 0) return {id_1x, scale_factor};
  return {id_2x, scale_factor / 2};
}

}  // namespace lite

#endif  // UI_IMAGES_IMAGE_VARIANT_H_
