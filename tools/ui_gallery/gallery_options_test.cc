#include "tools/ui_gallery/gallery_options.h"

#include <gtest/gtest.h>

#include "base/file_path.h"
#include "distribution/brand_info.h"

namespace lite {
namespace {

TEST(GalleryOptionsTest, ReadsSwitchesAndRefusesUnknownOnes) {
  std::string error;
  const std::optional<GalleryOptions> options = ParseGalleryOptions(
      SplitWords("--page=dialog-7  --design=origin --lang=pt-BR --windows=8.1 "
                 "--force-device-scale-factor=1.5 --params=cancel=1&first=1 --percent=100 "
                 "--shot=/tmp/a.png"),
      GalleryOptions(), &error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->page, "dialog-7");
  EXPECT_EQ(options->design, WindowDesign::kOrigin);
  EXPECT_EQ(options->language, "pt-BR");
  EXPECT_EQ(options->windows, WindowsRelease::kWin81);
  EXPECT_EQ(options->scale_factor, 1.5);
  EXPECT_EQ(options->params, "cancel=1&first=1");
  EXPECT_EQ(options->progress_percent, 100);
  EXPECT_EQ(options->shot, "/tmp/a.png");

  for (const char* bad : {"--design=classic", "--lang=pt", "--force-device-scale-factor=abc",
                          "--force-device-scale-factor=0", "--colour=red", "page=x",
                          "--params=", "--outline", "--percent=101", "--percent=",
                          "--percent=5x"}) {
    EXPECT_FALSE(ParseGalleryOptions({bad}, GalleryOptions(), &error)) << bad;
    EXPECT_NE(error.find(bad), std::string::npos) << error;
  }
}

TEST(GalleryOptionsTest, BrandConfigSelectsTheDesign) {
  for (WindowDesign design :
       {WindowDesign::kNewIdentity, WindowDesign::kFacetune, WindowDesign::kOrigin}) {
    for (bool classic : {false, true}) {
      GalleryOptions options;
      options.design = design;
      options.classic_dialogs = classic;
      BrandInfo brand(FilePath(u"C:\\t\\"));
      brand.ApplyBrandInfo(BrandConfigFor(options));
      EXPECT_EQ(ChooseWindowDesign(brand), design) << DesignName(design);
      EXPECT_EQ(brand.IsDialogsRedesign(), design != WindowDesign::kOrigin && !classic);
    }
  }
  EXPECT_EQ(InterfaceLanguages().size(), 16u);
}

}  // namespace
}  // namespace lite
