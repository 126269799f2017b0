#include "ui/layout/installation_window_layout.h"

#include <gtest/gtest.h>

#include "base/file_path.h"
#include "distribution/brand_info.h"
#include "ui/layout/installation_window_theme.h"

namespace lite {
namespace {

using D = WindowDesign;
constexpr WindowsRelease kWin10 = WindowsRelease::kWin10;
constexpr WindowsRelease kWin7 = WindowsRelease::kWin7;

TEST(InstallationWindowLayoutTest, SlotTableOfEachDesign) {
  struct Row {
    D design;
    int width, height, inset;
    Rect title, privacy, logo, license, bar, text, progress_license;
    Point install, close, margin;
    bool minimize;
  } const rows[] = {
      {D::kFacetune, 802, 430, 1, {61, 140, 504, 358}, {61, 1, 454, 428}, {61, 41, 273, 79},
       {557, 333, 759, 428}, {61, 358, 454, 363}, {61, 372, 454, 428}, {424, 350, 666, 430},
       {61, 333}, {767, 11}, {5, 5}, true},
      {D::kNewIdentity, 802, 430, 1, {61, 99, 473, 358}, {61, 1, 454, 428}, {61, 41, 273, 79},
       {555, 333, 757, 428}, {61, 358, 454, 363}, {61, 372, 454, 428}, {424, 350, 666, 430},
       {61, 333}, {767, 11}, {5, 5}, true},
      {D::kOrigin, 728, 400, 0, {0, 182, 728, 250}, {84, 0, 310, 390}, {61, 41, 273, 79},
       {400, 38, 667, 400}, {392, 56, 684, 60}, {352, 50, 376, 66}, {424, 350, 666, 400},
       {557, 305}, {698, 18}, {0, 0}, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(static_cast<int>(r.design));
    const InstallationWindowLayout layout(r.design, kWin10, false, 3);
    EXPECT_EQ(layout.WindowWidth(), r.width);
    EXPECT_EQ(layout.WindowHeight(), r.height);
    EXPECT_EQ(layout.ClientRect(), (Rect{0, 0, r.width, r.height}));
    EXPECT_EQ(layout.ShadowInset(), r.inset);
    EXPECT_EQ(layout.TitleRect(), r.title);
    EXPECT_EQ(layout.PrivacyLinkColumn(), r.privacy);
    EXPECT_EQ(layout.LogoRect(), r.logo);
    EXPECT_EQ(layout.LicenseRect(), r.license);
    EXPECT_EQ(layout.ProgressBarRect(), r.bar);
    EXPECT_EQ(layout.ProgressTextRect(), r.text);
    EXPECT_EQ(layout.ProgressLicenseRect(), r.progress_license);
    EXPECT_EQ(layout.InstallButtonOrigin(), r.install);
    EXPECT_EQ(layout.CloseButtonOrigin(), r.close);
    EXPECT_EQ(layout.InlineLinkMargin(), r.margin);
    EXPECT_EQ(layout.HasMinimizeButton(), r.minimize);
    if (r.minimize) {
      EXPECT_EQ(layout.MinimizeButtonOrigin(), (Point{723, 11}));
    }
  }
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Rect At(Point origin, int size) { return {origin.x, origin.y, origin.x + size, origin.y + size}; }

// The progress screen's Cancel (a 12-pixel frame) shows beside Close and
// Minimize (20-pixel frames) where those stay, and takes Close's place where
// Close goes (Origin); it never covers the bar or its text.
TEST(InstallationWindowLayoutTest, CancelButtonHasAPlaceOfItsOwn) {
  for (D design : {D::kFacetune, D::kNewIdentity, D::kOrigin}) {
    SCOPED_TRACE(static_cast<int>(design));
    const InstallationWindowLayout layout(design, kWin10, false, 3);
    const Rect cancel = At(layout.CancelButtonOrigin(), 12);
    EXPECT_TRUE(cancel.left >= 0 && cancel.top >= 0 && cancel.right <= layout.WindowWidth() &&
                cancel.bottom <= layout.WindowHeight());
    EXPECT_FALSE(Overlap(cancel, layout.ProgressBarRect()));
    EXPECT_FALSE(Overlap(cancel, layout.ProgressTextRect()));
    if (layout.HasMinimizeButton()) {
      EXPECT_FALSE(Overlap(cancel, At(layout.CloseButtonOrigin(), 20)));
      EXPECT_FALSE(Overlap(cancel, At(layout.MinimizeButtonOrigin(), 20)));
    } else {
      EXPECT_EQ(layout.CancelButtonOrigin(), layout.CloseButtonOrigin());
    }
  }
}

TEST(InstallationWindowLayoutTest, ReleaseAndContrastValues) {
  struct Row {
    D design;
    WindowsRelease windows;
    bool less_contrasty;
    int radius, gap;
  } const rows[] = {
      {D::kFacetune, kWin10, false, 9, 12},   {D::kFacetune, WindowsRelease::kWin8, true, 9, 8},
      {D::kNewIdentity, kWin7, false, 0, 12}, {D::kOrigin, kWin10, false, 0, 8},
  };
  for (const Row& r : rows) {
    const InstallationWindowLayout layout(r.design, r.windows, r.less_contrasty, 0);
    EXPECT_EQ(layout.CornerRadius(), r.radius);
    EXPECT_EQ(layout.CheckBoxLabelGap(), r.gap);
  }
}

TEST(InstallationWindowLayoutTest, CheckBoxRule) {
  constexpr Rect kNone = {};
  struct Row {
    D design;
    bool less_contrasty;
    uint32_t mask;
    Rect statistics, make_default, pin;
  } const rows[] = {
      // Facetune and NewIdentity, both contrast cases.
      {D::kFacetune, false, 3, {61, 235, 454, 428}, {61, 207, 454, 428}, kNone},
      {D::kFacetune, false, 2, {61, 207, 454, 428}, kNone, kNone},
      {D::kNewIdentity, false, 1, kNone, {61, 207, 454, 428}, kNone},
      {D::kFacetune, true, 3, {59, 207, 454, 428}, {59, 267, 454, 428}, kNone},
      {D::kNewIdentity, true, 1, kNone, {59, 207, 454, 428}, kNone},
      {D::kFacetune, true, 7, {59, 207, 454, 428}, {59, 267, 454, 428}, kNone},
      {D::kFacetune, false, 0, kNone, kNone, kNone},
      // Origin by mask.
      {D::kOrigin, false, 1, kNone, {60, 305, 525, 400}, kNone},
      {D::kOrigin, false, 2, {60, 305, 308, 400}, kNone, kNone},
      {D::kOrigin, false, 3, {60, 305, 308, 400}, {314, 305, 537, 400}, kNone},
      {D::kOrigin, false, 4, kNone, kNone, {60, 315, 525, 400}},
      {D::kOrigin, false, 5, kNone, {60, 294, 525, 400}, {60, 324, 525, 400}},
      {D::kOrigin, false, 6, {60, 309, 525, 400}, kNone, {60, 279, 525, 400}},
      {D::kOrigin, false, 7, {60, 310, 525, 400}, {60, 250, 525, 400}, {60, 280, 525, 400}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(r.design) << " " << r.less_contrasty
                                      << " mask " << r.mask);
    const InstallationWindowLayout layout(r.design, kWin10, r.less_contrasty, r.mask);
    EXPECT_EQ(layout.StatisticsCheckBoxRect(), r.statistics);
    EXPECT_EQ(layout.MakeDefaultCheckBoxRect(), r.make_default);
    EXPECT_EQ(layout.PinCheckBoxRect(), r.pin);
  }
  // Origin's title moves up to make room for all three boxes.
  EXPECT_EQ(InstallationWindowLayout(D::kOrigin, kWin10, false, 7).TitleRect(),
            (Rect{0, 152, 728, 250}));
  EXPECT_EQ(InstallationWindowLayout(D::kOrigin, kWin10, false, 6).TitleRect(),
            (Rect{0, 182, 728, 250}));
}

TEST(InstallationWindowLayoutTest, FacetuneAtOneAndAHalf) {
  const InstallationWindowLayout layout(D::kFacetune, kWin10, false, 3);
  EXPECT_EQ(Scale(1.5, layout.WindowWidth()), 1203);
  EXPECT_EQ(Scale(1.5, layout.WindowHeight()), 645);
  const ThemeSpec theme = GetThemeSpec(D::kFacetune, kWin10, false, 1033);
  EXPECT_EQ(Scale(1.5, theme.title_font.size), 54);
  // Each corner on its own: 61 x 1.5 = 91.5 and 504 x 1.5 = 756.
  EXPECT_EQ(ScaleRect(1.5, layout.TitleRect()), (Rect{91, 210, 756, 537}));
}

TEST(InstallationWindowLayoutTest, DesignFromBrand) {
  struct Row {
    const char* config;
    D design;
  } const rows[] = {
      {"{}", D::kFacetune},
      {R"({"overridden_features": {"InstallerFacetune2023": {"enabled": false}}})", D::kOrigin},
      {R"({"overridden_features": {"InstallerNewIdentity2024": {"enabled": true}}})",
       D::kNewIdentity},
  };
  for (const Row& r : rows) {
    BrandInfo brand(FilePath(u"C:\\temp\\"));
    brand.ApplyBrandInfo(r.config);
    EXPECT_EQ(ChooseWindowDesign(brand), r.design) << r.config;
    EXPECT_EQ(CreateLayout(brand, 3, kWin10)->design(), r.design) << r.config;
  }
}

}  // namespace
}  // namespace lite
