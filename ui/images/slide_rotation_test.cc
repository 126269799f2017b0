#include "ui/images/slide_rotation.h"

#include <gtest/gtest.h>

#include <vector>

#include "product_config.h"

namespace lite {
namespace {

TEST(SlideRotationTest, NumbersCountTheDownloads) {
  const SlideRotation one(1);
  const SlideRotation two(2);
  EXPECT_EQ(SlideAddress("b/", one.NextNumber(1), ".jpg"), "b/x2/02.jpg");
  EXPECT_EQ(SlideAddress("b/", two.NextNumber(2), ".png"), "b/x2/02.png");
  // After eight downloads: no leading zero.
  EXPECT_EQ(SlideAddress("b/", one.NextNumber(9), ".jpg"), "b/x2/10.jpg");
  EXPECT_EQ(SlideAddress("b/", one.NextNumber(8), ".jpg"), "b/x2/09.jpg");
}

// The pictures shown for indexes 0, 1, 2... while |held| stays put.
std::vector<int> Shown(SlideRotation rotation, int held, int count) {
  std::vector<int> shown;
  for (int index = 0; index < count; ++index) shown.push_back(rotation.Pick(index, held));
  return shown;
}

TEST(SlideRotationTest, WrapRules) {
  // One start picture: it opens every pass.
  EXPECT_EQ(Shown(SlideRotation(1), 3, 7), (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
  // Two: the window background only on the first pass.
  EXPECT_EQ(Shown(SlideRotation(2), 4, 10), (std::vector<int>{0, 1, 2, 3, 1, 2, 3, 1, 2, 3}));
  // Nothing downloaded yet.
  EXPECT_EQ(Shown(SlideRotation(1), 1, 3), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(Shown(SlideRotation(2), 2, 4), (std::vector<int>{0, 1, 1, 1}));
}

TEST(SlideRotationTest, DownloadsArrivingDuringTheShow) {
  SlideRotation rotation(1);
  EXPECT_EQ(rotation.Pick(0, 1), 0);
  EXPECT_EQ(rotation.Pick(1, 2), 1);  // slide 02 arrived
  EXPECT_EQ(rotation.Pick(2, 3), 2);  // and 03
  EXPECT_EQ(rotation.Pick(3, 3), 0);  // back to the start picture
}

TEST(SlideRotationTest, BaseAddressAndExtension) {
  EXPECT_EQ(SlideBaseAddress("https://s.example/slides/", WindowDesign::kFacetune, "de"),
            "https://s.example/slides/");
  const std::string cdn = TL_DOWNLOAD_CDN_HOST "/browser/installer/";
  EXPECT_EQ(SlideBaseAddress("", WindowDesign::kNewIdentity, "ru"), cdn + "new-identity/ru/");
  EXPECT_EQ(SlideBaseAddress("", WindowDesign::kFacetune, "en"), cdn + "facetune/en/");
  EXPECT_EQ(SlideBaseAddress("", WindowDesign::kOrigin, "tr"), cdn + "tr/");
  // The language is one path segment, whatever it holds.
  EXPECT_EQ(SlideBaseAddress("", WindowDesign::kOrigin, "../../x"), cdn + "..%2F..%2Fx/");
  EXPECT_EQ(SlideBaseAddress("", WindowDesign::kOrigin, "ru&x\"y"), cdn + "ru%26x%22y/");
  EXPECT_EQ(SlideBaseAddress("", WindowDesign::kOrigin, "ru\r\n?#"), cdn + "ru%0D%0A%3F%23/");
  EXPECT_EQ(SlideExtension(WindowDesign::kNewIdentity, WindowsRelease::kWin8), ".png");
  EXPECT_EQ(SlideExtension(WindowDesign::kNewIdentity, WindowsRelease::kWin7), ".jpg");
  EXPECT_EQ(SlideExtension(WindowDesign::kFacetune, WindowsRelease::kWin10), ".jpg");
}

}  // namespace
}  // namespace lite
