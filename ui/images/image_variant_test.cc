#include "ui/images/image_variant.h"

#include <gtest/gtest.h>

namespace lite {
namespace {

TEST(ImageVariantTest, ExactlyOneUsesThe1xPicture) {
  struct Case {
    int id_2x;
    double factor;
    int id;
    double scale;
  } const cases[] = {
      {2022, 1.0, 2021, 1.0},   {2022, 1.01, 2022, 0.505}, {2022, 1.25, 2022, 0.625},
      {2022, 2.0, 2022, 1.0},   {2022, 0.75, 2022, 0.375}, {0, 1.5, 2021, 1.5},
  };
  for (const Case& c : cases) {
    const ImageVariant v = ChooseImageVariant(2021, c.id_2x, c.factor);
    EXPECT_EQ(v.resource_id, c.id) << c.factor;
    EXPECT_DOUBLE_EQ(v.scale, c.scale) << c.factor;
  }
}

}  // namespace
}  // namespace lite
